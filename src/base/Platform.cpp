#include "base/Platform.h"

#include "base/TextEncoding.h"

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
    return EnvironmentText(name);
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
