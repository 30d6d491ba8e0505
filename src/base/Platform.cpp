#include "base/Platform.h"

#include <cstdlib>

#ifdef _WIN32
#include "base/WindowsSystem.h"
#endif

namespace kestrune {

const char* MessageTitle(MessageKind kind) {
    switch (kind) {
        case MessageKind::SyntaxError:
            return "Kestrune Error";
        case MessageKind::Error:
            return "Error";
        case MessageKind::Information:
            return "Information";
    }
    return "Error";
}

std::optional<std::string> Platform::EnvironmentValue(const std::string& name) {
#ifdef _WIN32
    return windows::EnvironmentVariable(name);
#else
    if (const char* value = std::getenv(name.c_str()); value != nullptr) {
        return std::string(value);
    }
    return std::nullopt;
#endif
}

int Platform::RunTool(const std::string&, const std::vector<std::string>&) {
    return kToolsNotRun;
}

int Platform::Ask(const std::string&, const std::string&, const std::vector<std::string>&) {
    return kQuestionClosed;
}

int Platform::StartRun(const std::string&) {
    return 0;
}

bool Platform::ProcessAlive(int) {
    return false;
}

bool Platform::StopProcessGroup(int) {
    return false;
}

}  // namespace kestrune
