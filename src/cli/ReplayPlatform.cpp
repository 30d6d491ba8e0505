#include "ReplayPlatform.h"

#include <cstdlib>
#include <ostream>

namespace kestrune::cli {

const char* ReplayAnswerText(ReplayAnswer answer) {
    switch (answer) {
        case ReplayAnswer::Yes:
            return "yes";
        case ReplayAnswer::No:
            return "no";
        case ReplayAnswer::Cancel:
            return "cancel";
        case ReplayAnswer::Ok:
            return "ok";
    }
    return "";
}

namespace {

BoxAnswer ToBoxAnswer(ReplayAnswer answer) {
    switch (answer) {
        case ReplayAnswer::Yes:
            return ConfirmAnswer::Yes;
        case ReplayAnswer::No:
            return ConfirmAnswer::No;
        case ReplayAnswer::Cancel:
            return ConfirmAnswer::Cancel;
        case ReplayAnswer::Ok:
            break;
    }
    return BoxAnswer::Ok();
}

ReplayAnswer ToReplayAnswer(BoxAnswer answer) {
    if (answer.IsOk()) {
        return ReplayAnswer::Ok;
    }
    switch (*answer.Button()) {
        case ConfirmAnswer::Yes:
            return ReplayAnswer::Yes;
        case ConfirmAnswer::No:
            return ReplayAnswer::No;
        case ConfirmAnswer::Cancel:
            break;
    }
    return ReplayAnswer::Cancel;
}

}  // namespace

void ReplayPlatform::QueueAnswer(ReplayAnswer answer) {
    confirmAnswers.push_back(ToBoxAnswer(answer));
}

std::optional<std::string> ReplayPlatform::TakeFault() {
    std::optional<std::string> fault;
    if (faultsTaken_ < shortfalls.size()) {
        fault = shortfalls[faultsTaken_];
    }
    faultsTaken_ = shortfalls.size();
    return fault;
}

void ReplayPlatform::ShowMessage(MessageKind kind, const std::string& text) {
    cli_.ShowMessage(kind, text);
    ScriptedPlatform::ShowMessage(kind, text);
}

int ReplayPlatform::Ask(const std::string& title, const std::string& text,
                        const std::vector<std::string>& buttons) {
    err_ << MessageBlock(title, text) << std::flush;
    return ScriptedPlatform::Ask(title, text, buttons);
}

ConfirmAnswer ReplayPlatform::Confirm(const std::string& text) {
    err_ << MessageBlock(kConfirmationTitle, text) << std::flush;
    return ScriptedPlatform::Confirm(text);
}

std::string ReplayPlatform::ChooseFolder(const std::string& title) {
    folderTitles.push_back(title);
    return NextFile(DialogName("folder", title)).value_or(std::string());
}

std::vector<StartRequest> ReplayPlatform::Started() const {
    std::vector<StartRequest> started;
    for (const ShellCall& call : shellCalls) {
        started.push_back({call.target, call.parameters});
    }
    return started;
}

std::vector<ShownMessage> ReplayPlatform::Messages() const {
    std::vector<ShownMessage> shown;
    for (const ShownBox& box : boxes) {
        std::optional<ReplayAnswer> answer;
        if (box.answer) {
            answer = ToReplayAnswer(*box.answer);
        }
        shown.push_back({box.title, box.text, answer});
    }
    return shown;
}

std::string ReplayPlatform::UserDataFolder() {
    // The freedesktop rule: a relative $XDG_DATA_HOME is ignored.
    if (const char* data = std::getenv("XDG_DATA_HOME"); data != nullptr && data[0] == '/') {
        return data;
    }
    if (const char* home = std::getenv("HOME"); home != nullptr && home[0] != '\0') {
        return std::string(home) + "/.local/share";
    }
    return {};
}

}  // namespace kestrune::cli
