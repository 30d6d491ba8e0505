#include "base/ToolSearch.h"

#include <filesystem>
#include <string_view>

#include "base/FileIo.h"

namespace kestrune {

namespace fs = std::filesystem;

#ifndef _WIN32
namespace {

bool IsExecutableFile(const std::string& path) {
    std::error_code ec;
    const fs::file_status status = fs::status(path, ec);
    if (ec || !fs::is_regular_file(status)) {
        return false;
    }
    constexpr fs::perms kAnyExecute =
        fs::perms::owner_exec | fs::perms::group_exec | fs::perms::others_exec;
    return (status.permissions() & kAnyExecute) != fs::perms::none;
}

}  // namespace
#endif

ToolSearch FindTool(const std::string& toolPath, const std::optional<std::string>& searchPath) {
    ToolSearch search;
    if (toolPath.empty()) {
        return search;
    }
#ifndef _WIN32
    if (toolPath.find('/') == std::string::npos) {
        // Without a PATH the shell looks in the system's standard folders.
        const std::string folders = searchPath.value_or("/usr/bin:/bin");
        for (std::size_t begin = 0; begin <= folders.size();) {
            std::size_t end = folders.find(':', begin);
            if (end == std::string::npos) {
                end = folders.size();
            }
            // An empty entry is the current folder.
            const std::string_view folder =
                end == begin ? std::string_view(".")
                             : std::string_view(folders).substr(begin, end - begin);
            std::string candidate(folder);
            if (!candidate.ends_with('/')) {
                candidate.push_back('/');
            }
            candidate.append(toolPath);
            search.tried.push_back(std::move(candidate));
            if (IsExecutableFile(search.tried.back())) {
                search.found = true;
                return search;
            }
            begin = end + 1;
        }
        return search;
    }
#else
    (void)searchPath;
#endif
    search.tried.push_back(toolPath);
    search.found = FileExists(toolPath);
    return search;
}

std::string DescribeSearch(const std::string& toolPath, const ToolSearch& search) {
    if (toolPath.empty()) {
        return "no path is set";
    }
    std::string text = "tried ";
    for (std::size_t i = 0; i < search.tried.size(); ++i) {
        text.append(i == 0 ? "" : ", ").append(search.tried[i]);
    }
    return text;
}

}  // namespace kestrune
