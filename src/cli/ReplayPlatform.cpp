#include "ReplayPlatform.h"

#include <cstdlib>
#include <ostream>

namespace kestrune::cli {

namespace {

std::string Quoted(const std::string& text) {
    return "\"" + text + "\"";
}

std::string DialogName(const char* kind, const std::string& title) {
    std::string name = std::string("the ") + kind + " dialog";
    if (!title.empty()) {
        name += " " + Quoted(title);
    }
    return name;
}

}  // namespace

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

void ReplayPlatform::Fault(std::string what) {
    if (!fault_) {
        fault_ = std::move(what);
    }
}

std::optional<std::string> ReplayPlatform::TakeFault() {
    std::optional<std::string> fault = std::move(fault_);
    fault_.reset();
    return fault;
}

void ReplayPlatform::ShowMessage(MessageKind kind, const std::string& text) {
    CliPlatform::ShowMessage(kind, text);
    ShownMessage shown{MessageTitle(kind), text, std::nullopt};
    // An OK-only box needs no answer; an "ok" queued for it is taken only when it is next.
    if (!answers_.empty() && answers_.front() == ReplayAnswer::Ok) {
        answers_.pop_front();
        shown.answer = ReplayAnswer::Ok;
    }
    messages_.push_back(std::move(shown));
}

ConfirmAnswer ReplayPlatform::Confirm(const std::string& text) {
    err_ << MessageBlock(kConfirmationTitle, text) << std::flush;
    ShownMessage shown{kConfirmationTitle, text, ReplayAnswer::Cancel};
    if (answers_.empty()) {
        Fault("no answer queued for the box " + Quoted(text));
    } else {
        const ReplayAnswer answer = answers_.front();
        answers_.pop_front();
        if (answer == ReplayAnswer::Ok) {
            Fault("the queued answer \"ok\" does not fit the Yes/No/Cancel box " + Quoted(text));
        } else {
            shown.answer = answer;
        }
    }
    messages_.push_back(shown);
    switch (*shown.answer) {
        case ReplayAnswer::Yes:
            return ConfirmAnswer::Yes;
        case ReplayAnswer::No:
            return ConfirmAnswer::No;
        default:
            return ConfirmAnswer::Cancel;
    }
}

std::optional<std::string> ReplayPlatform::NextFile(const std::string& dialog) {
    if (files_.empty()) {
        Fault("no file queued for " + dialog);
        return std::nullopt;
    }
    std::optional<std::string> file = std::move(files_.front());
    files_.pop_front();
    return file;
}

std::optional<std::string> ReplayPlatform::OpenFileDialog(const FileDialogRequest& request) {
    return NextFile(DialogName("open", request.title));
}

std::optional<std::string> ReplayPlatform::SaveFileDialog(const FileDialogRequest& request) {
    return NextFile(DialogName("save", request.title));
}

std::string ReplayPlatform::ChooseFolder(const std::string& title) {
    return NextFile(DialogName("folder", title)).value_or(std::string());
}

std::optional<std::uint32_t> ReplayPlatform::ChooseColor(std::uint32_t) {
    if (colors_.empty()) {
        Fault("no colour queued for the colour dialog");
        return std::nullopt;
    }
    const std::optional<std::uint32_t> color = colors_.front();
    colors_.pop_front();
    return color;
}

void ReplayPlatform::ShellOpen(const std::string& target, const std::string& parameters) {
    started_.push_back({target, parameters});
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
