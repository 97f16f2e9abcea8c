#include "data/TextFile.h"

#include <cerrno>
#include <cstring>
#include <filesystem>

#include "data/Failures.h"
#include "data/TextNumbers.h"

namespace calctopo {

namespace {

std::string DescribeErrno(int error) {
    return error == 0 ? std::string() : std::string(" (") + std::strerror(error) + ")";
}

// fopen by path: the narrow native name on POSIX, the wide one on Windows,
// where a narrow name would go through the ANSI code page and lose characters.
std::FILE* OpenFile(const std::filesystem::path& path, const char* mode) {
#ifdef _WIN32
    const std::wstring wideMode(mode, mode + std::strlen(mode));
    return _wfopen(path.c_str(), wideMode.c_str());
#else
    return std::fopen(path.c_str(), mode);
#endif
}

}  // namespace

std::filesystem::path NativePath(const std::string& name) {
    const std::string utf8 = Cp1252ToUtf8(name);
    return std::filesystem::path(std::u8string(utf8.begin(), utf8.end()));
}

std::string NameFromPath(const std::filesystem::path& path) {
    const std::u8string utf8 = path.u8string();
    return Utf8ToCp1252(std::string(utf8.begin(), utf8.end()));
}

TextOutputFile::~TextOutputFile() {
    Close();
}

void TextOutputFile::Create(const std::string& path) {
    Close();
    errno = 0;
    file_ = OpenFile(NativePath(path), "wb");
    if (file_ == nullptr) {
        throw IoFailure(Utf8ToCp1252("Impossible de créer le fichier ") + path +
                        DescribeErrno(errno));
    }
    path_ = path;
}

void TextOutputFile::Write(std::string_view text) {
    Append(text);
    Flush();
}

void TextOutputFile::WriteLine(std::string_view text) {
    AppendLine(text);
    Flush();
}

void TextOutputFile::Append(std::string_view text) {
    if (file_ != nullptr) {
        held_ += text;
    }
}

void TextOutputFile::AppendLine(std::string_view text) {
    if (file_ != nullptr) {
        held_ += text;
        held_ += "\r\n";
    }
}

void TextOutputFile::Flush() {
    if (file_ == nullptr || held_.empty()) {
        return;
    }
    const bool written = std::fwrite(held_.data(), 1, held_.size(), file_) == held_.size();
    held_.clear();
    if (!written || std::fflush(file_) != 0) {
        throw IoFailure(Utf8ToCp1252("Erreur d'écriture dans le fichier ") + path_ +
                        DescribeErrno(errno));
    }
}

void TextOutputFile::Close() {
    if (file_ != nullptr) {
        // Every writer flushes its own text: anything still held was left by
        // a writer interrupted before its Flush.
        std::fwrite(held_.data(), 1, held_.size(), file_);
        held_.clear();
        std::fclose(file_);
        file_ = nullptr;
    }
}

bool ReadTextLines(const std::string& path, std::vector<std::string>& lines) {
    lines.clear();
    std::error_code error;
    const std::filesystem::path native = NativePath(path);
    if (std::filesystem::is_directory(native, error)) {
        return false;
    }
    // C streams: a read error is a result here, never an exception.
    std::FILE* file = OpenFile(native, "rb");
    if (file == nullptr) {
        return false;
    }
    std::string content;
    char buffer[65536];
    std::size_t got = 0;
    while ((got = std::fread(buffer, 1, sizeof buffer, file)) > 0) {
        content.append(buffer, got);
    }
    const bool failed = std::ferror(file) != 0;
    std::fclose(file);
    if (failed) {
        return false;
    }
    std::size_t start = 0;
    while (true) {
        const std::size_t end = content.find('\n', start);
        if (end == std::string::npos) {
            // The text after the last line end is a last line, unless the file
            // ended with a line end (an empty file still reads as one empty line).
            if (start < content.size() || lines.empty()) {
                lines.push_back(content.substr(start));
            }
            break;
        }
        std::size_t stop = end;
        if (stop > start && content[stop - 1] == '\r') {
            --stop;
        }
        lines.push_back(content.substr(start, stop - start));
        start = end + 1;
    }
    return true;
}

void WriteFileReplacing(const std::string& path, const std::string& content) {
    namespace fs = std::filesystem;
    const fs::path target = NativePath(path);
    fs::path temporary = target;
    temporary += ".tmp~";
    {
        std::FILE* file = OpenFile(temporary, "wb");
        if (file == nullptr) {
            throw IoFailure(Utf8ToCp1252("Impossible de créer le fichier ") + path +
                            DescribeErrno(errno));
        }
        const bool written = std::fwrite(content.data(), 1, content.size(), file) == content.size();
        const bool flushed = std::fflush(file) == 0;
        const int error = errno;
        const bool closed = std::fclose(file) == 0;
        if (!written || !flushed || !closed) {
            std::error_code ignored;
            fs::remove(temporary, ignored);
            throw IoFailure(Utf8ToCp1252("Erreur d'écriture dans le fichier ") + path +
                            DescribeErrno(error));
        }
    }
    std::error_code error;
    fs::rename(temporary, target, error);
    if (error) {
        std::error_code ignored;
        fs::remove(temporary, ignored);
        throw IoFailure(Utf8ToCp1252("Impossible de remplacer le fichier ") + path + " (" +
                        error.message() + ")");
    }
}

}  // namespace calctopo
