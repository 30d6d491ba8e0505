#include "NativePath.h"

#include "base/TextEncoding.h"
#ifdef _WIN32
#include "base/WindowsSystem.h"
#endif

namespace reda {

// The core keeps its text in UTF-8 and converts at the same edges; REDA's text crosses them
// the core's way, so a name means one file to both.

std::filesystem::path pathOfText(std::string_view text) {
    return kestrune::PathFromUtf8(text);
}

std::string textOfPath(const std::filesystem::path& path) {
    return kestrune::Utf8FromPath(path);
}

std::filesystem::path pathOfLogText(std::string_view text) {
    // Text that is not UTF-8 is taken as the code page's on Windows.
    return kestrune::PathFromUtf8(text);
}

bool samePath(std::string_view a, std::string_view b) {
    return kestrune::SamePath(a, b);
}

std::vector<std::string> commandLineWords(int argc, char** argv) {
#ifdef _WIN32
    (void)argc;
    (void)argv;
    return kestrune::windows::CommandLineArguments();
#else
    return std::vector<std::string>(argv + (argc > 0 ? 1 : 0), argv + argc);
#endif
}

std::optional<std::string> environmentText(const char* name) {
    return kestrune::EnvironmentText(name);
}

}  // namespace reda
