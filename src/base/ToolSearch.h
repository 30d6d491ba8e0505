#pragma once
// Finding a tool from its configured path, as the shell that runs the script finds it, and
// saying where the search looked when it found nothing.

#include <optional>
#include <string>
#include <vector>

namespace kestrune {

struct ToolSearch {
    bool found = false;
    // The paths looked at, in order, up to the one found.
    std::vector<std::string> tried;
};

// On Linux a path without a "/" is a command name: it is looked up in the folders of
// `searchPath` (the PATH variable; an empty entry is the current folder) and found where an
// executable file of that name is, as /bin/sh finds it. Any other path, and every path on
// Windows, must name an existing file.
ToolSearch FindTool(const std::string& toolPath, const std::optional<std::string>& searchPath);

// One line for a message about a tool that was not found: where the search looked.
std::string DescribeSearch(const std::string& toolPath, const ToolSearch& search);

// The end of such a message: where the user sets the paths.
inline constexpr const char* kWhereToolPathsAreSet =
    "the Paths page of the options dialog (设置 \xE2\x96\xB8 设置)";

}  // namespace kestrune
