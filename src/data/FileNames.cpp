#include "data/FileNames.h"

#include <filesystem>
#include <system_error>

#include "data/TextFile.h"

namespace calctopo {

namespace fs = std::filesystem;

std::string AbsoluteName(const std::string& name) {
    std::error_code error;
    const fs::path absolute = fs::absolute(NativePath(name), error);
    if (error) {
        return name;
    }
    return NameFromPath(absolute.lexically_normal());
}

std::string ResolveFileName(const std::string& name, const std::string& folder) {
    if (name.empty()) {
        return name;
    }
    const fs::path given = NativePath(name);
    if (!folder.empty() && !given.has_root_path()) {
        return NameFromPath((NativePath(folder) / given).lexically_normal());
    }
    return AbsoluteName(name);
}

std::string FolderOf(const std::string& name) {
    return NameFromPath(NativePath(name).parent_path());
}

std::string NameWithoutFolder(const std::string& name) {
    const std::size_t last = name.find_last_of("/\\");
    return last == std::string::npos ? name : name.substr(last + 1);
}

std::size_t ExtensionStart(std::string_view name) {
    const std::size_t separator = name.find_last_of("/\\");
    const std::size_t start = separator == std::string_view::npos ? 0 : separator + 1;
    const std::size_t dot = name.rfind('.');
    if (dot == std::string_view::npos || dot < start) {
        return std::string::npos;
    }
    return dot;
}

bool HasExtension(std::string_view name) {
    return ExtensionStart(name) != std::string::npos;
}

std::string WithoutExtension(const std::string& name) {
    const std::size_t dot = ExtensionStart(name);
    return dot == std::string::npos ? name : name.substr(0, dot);
}

std::string WithExtension(const std::string& name, std::string_view extension) {
    return WithoutExtension(name) + std::string(extension);
}

std::string WithDefaultExtension(const std::string& name, std::string_view extension) {
    return HasExtension(name) ? name : name + std::string(extension);
}

}  // namespace calctopo
