#include "support/TempFolder.h"

#include <atomic>
#include <fstream>
#include <iterator>
#include <stdexcept>

#ifdef _WIN32
#include <process.h>
#define getpid _getpid
#else
#include <unistd.h>
#endif

#include <gtest/gtest.h>

#include "data/TextFile.h"

namespace calctopo::testing {

namespace fs = std::filesystem;

// Each test runs in a process of its own, often two at a time: the process
// number keeps the processes apart, the counter the folders of one process.
TempFolder::TempFolder() : previousWorkingDirectory_(fs::current_path()) {
    static std::atomic<int> counter{0};
    const fs::path base = fs::temp_directory_path();
    for (int attempt = 0; attempt < 1000; ++attempt) {
        path_ = base / ("calctopo-" + std::to_string(::getpid()) + "-" +
                        std::to_string(counter.fetch_add(1)));
        if (fs::create_directory(path_)) {
            return;
        }
    }
    throw std::runtime_error("cannot create a temporary folder");
}

TempFolder::~TempFolder() {
    std::error_code ignored;
    fs::current_path(previousWorkingDirectory_, ignored);
    fs::remove_all(path_, ignored);
}

std::string TempFolder::File(const std::string& relative) const {
    const std::u8string folder = path_.u8string();
    return std::string(folder.begin(), folder.end()) + NativeSeparators("/" + relative);
}

std::string TempFolder::Write(const std::string& relative, const std::string& bytes) const {
    const std::string name = File(relative);
    WriteBytes(Utf8Path(name), bytes);
    return name;
}

std::string NativeSeparators(std::string name) {
#ifdef _WIN32
    for (char& c : name) {
        if (c == '/') {
            c = '\\';
        }
    }
#endif
    return name;
}

void WriteBytes(const fs::path& path, const std::string& bytes) {
    if (path.has_parent_path()) {
        fs::create_directories(path.parent_path());
    }
    std::ofstream(path, std::ios::binary) << bytes;
}

std::string ReadBytes(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
}

std::vector<std::string> TextLines(const fs::path& path) {
    std::vector<std::string> lines;
    EXPECT_TRUE(ReadTextLines(NameFromPath(path), lines)) << path;
    return lines;
}

fs::path Utf8Path(const std::string& utf8) {
    return fs::path(std::u8string(utf8.begin(), utf8.end()));
}

}  // namespace calctopo::testing
