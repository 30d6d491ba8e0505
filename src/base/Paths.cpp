#include "base/Paths.h"

#include <filesystem>

#include "base/TextEncoding.h"

namespace kestrune {
namespace {

std::size_t LastSeparator(std::string_view path) {
    for (std::size_t i = path.size(); i > 0; --i) {
        if (IsPathSeparator(path[i - 1])) {
            return i - 1;
        }
    }
    return std::string_view::npos;
}

}  // namespace

std::string_view FileNamePart(std::string_view path) {
    const std::size_t sep = LastSeparator(path);
    return sep == std::string_view::npos ? path : path.substr(sep + 1);
}

std::string_view FolderPart(std::string_view path) {
    const std::size_t sep = LastSeparator(path);
    return sep == std::string_view::npos ? std::string_view{} : path.substr(0, sep + 1);
}

std::string FolderWithoutSeparator(std::string_view path) {
    std::string_view folder = FolderPart(path);
    if (!folder.empty() && IsPathSeparator(folder.back()) && folder.back() != ':') {
        folder.remove_suffix(1);
    }
    return std::string(folder);
}

std::string_view ExtensionWithoutDot(std::string_view path) {
    const std::string_view name = FileNamePart(path);
    const std::size_t dot = name.rfind('.');
    return dot == std::string_view::npos ? std::string_view{} : name.substr(dot + 1);
}

std::string_view BaseNamePart(std::string_view path) {
    const std::string_view name = FileNamePart(path);
    const std::size_t dot = name.rfind('.');
    return dot == std::string_view::npos ? name : name.substr(0, dot);
}

std::string WithTrailingSeparator(std::string_view folder) {
    std::string result(folder);
    if (result.empty() || !IsPathSeparator(result.back())) {
        result.push_back(kPathSeparator);
    }
    return result;
}

std::string AbsoluteNormalPath(const std::string& path) {
    if (path.empty()) {
        return {};
    }
    std::error_code ec;
    const std::filesystem::path absolute = std::filesystem::absolute(PathFromUtf8(path), ec);
    if (ec) {
        return {};
    }
    return Utf8FromPath(absolute.lexically_normal());
}

}  // namespace kestrune
