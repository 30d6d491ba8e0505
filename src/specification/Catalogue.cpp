#include "specification/Catalogue.h"

#include <algorithm>
#include <filesystem>

#include "base/FileIo.h"
#include "base/Text.h"
#include "base/TextEncoding.h"

namespace kestrune {

namespace {

bool HasSpecificationExtension(std::string_view name) {
    constexpr std::string_view kExtension = ".zrs";
    if (name.size() < kExtension.size()) {
        return false;
    }
    const std::string_view tail = name.substr(name.size() - kExtension.size());
#ifdef _WIN32
    return EqualsNoCase(tail, kExtension);  // the Windows file search ignores letter case
#else
    return tail == kExtension;
#endif
}

}  // namespace

std::vector<std::string> ListSpecificationFiles(const std::string& folder) {
    namespace fs = std::filesystem;
    std::vector<std::string> names;
    std::error_code ec;
    fs::directory_iterator entries(PathFromUtf8(folder), ec);
    if (ec) {
        return names;
    }
    for (const fs::directory_entry& entry : entries) {
        const std::string name = Utf8FromPath(entry.path().filename());
        if (name.empty() || name == "." || name == ".." || !HasSpecificationExtension(name)) {
            continue;
        }
        // FileExists takes regular files only, so folders and devices named *.zrs drop out.
        if (FileExists(Utf8FromPath(entry.path()))) {
            names.push_back(name);
        }
    }
    std::sort(names.begin(), names.end());  // std::string compares bytes as unsigned
    return names;
}

std::vector<std::string> ListSpecificationFiles(const std::vector<std::string>& folders) {
    std::vector<std::string> names;
    for (const std::string& folder : folders) {
        const std::vector<std::string> found = ListSpecificationFiles(folder);
        names.insert(names.end(), found.begin(), found.end());
    }
    std::sort(names.begin(), names.end());
    names.erase(std::unique(names.begin(), names.end()), names.end());
    return names;
}

std::string CatalogueCaption(std::string_view fileName) {
    const std::size_t dot = fileName.rfind('.');
    return std::string(dot == std::string_view::npos ? fileName : fileName.substr(0, dot));
}

}  // namespace kestrune
