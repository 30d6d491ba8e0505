#include "base/ScriptedPlatform.h"

#include "base/Paths.h"

namespace kestrune {

namespace {

std::string Quoted(const std::string& text) {
    return "\"" + text + "\"";
}

}  // namespace

std::string ScriptedPlatform::DialogName(const char* kind, const std::string& title) {
    std::string name = std::string("the ") + kind + " dialog";
    if (!title.empty()) {
        name += " " + Quoted(title);
    }
    return name;
}

void ScriptedPlatform::ShowMessage(MessageKind kind, const std::string& text) {
    messages.push_back({MessageTitle(kind), text});
    ShownBox shown{MessageTitle(kind), text, std::nullopt};
    if (!confirmAnswers.empty() && confirmAnswers.front().IsOk()) {
        confirmAnswers.pop_front();
        shown.answer = BoxAnswer::Ok();
    }
    boxes.push_back(std::move(shown));
}

ConfirmAnswer ScriptedPlatform::Confirm(const std::string& text) {
    confirmations.push_back(text);
    ConfirmAnswer answer = ConfirmAnswer::Cancel;
    if (confirmAnswers.empty()) {
        shortfalls.push_back("no answer queued for the box " + Quoted(text));
    } else {
        const BoxAnswer next = confirmAnswers.front();
        confirmAnswers.pop_front();
        if (next.IsOk()) {
            shortfalls.push_back("the queued answer \"ok\" does not fit the Yes/No/Cancel box " +
                                 Quoted(text));
        } else {
            answer = *next.Button();
        }
    }
    boxes.push_back({kConfirmationTitle, text, answer});
    return answer;
}

std::optional<std::string> ScriptedPlatform::NextFile(const std::string& dialog) {
    if (fileAnswers.empty()) {
        shortfalls.push_back("no file queued for " + dialog);
        return std::nullopt;
    }
    std::optional<std::string> answer = std::move(fileAnswers.front());
    fileAnswers.pop_front();
    return answer;
}

std::optional<std::string> ScriptedPlatform::OpenFileDialog(const FileDialogRequest& request) {
    fileDialogs.push_back(request);
    return NextFile(DialogName("open", request.title));
}

std::optional<std::string> ScriptedPlatform::SaveFileDialog(const FileDialogRequest& request) {
    fileDialogs.push_back(request);
    return NextFile(DialogName("save", request.title));
}

std::string ScriptedPlatform::ChooseFolder(const std::string& title) {
    folderTitles.push_back(title);
    if (folderAnswers.empty()) {
        shortfalls.push_back("no folder queued for " + DialogName("folder", title));
        return {};
    }
    std::string answer = std::move(folderAnswers.front());
    folderAnswers.pop_front();
    return answer;
}

std::optional<std::uint32_t> ScriptedPlatform::ChooseColor(std::uint32_t initial) {
    colorDialogStarts.push_back(initial);
    if (colorAnswers.empty()) {
        shortfalls.push_back("no colour queued for the colour dialog");
        return std::nullopt;
    }
    const std::optional<std::uint32_t> answer = colorAnswers.front();
    colorAnswers.pop_front();
    return answer;
}

void ScriptedPlatform::ShellOpen(const std::string& target, const std::string& parameters) {
    shellCalls.push_back({target, parameters});
}

std::string ScriptedPlatform::LongPathName(const std::string& path) {
    const auto found = longPaths.find(path);
    return found != longPaths.end() ? found->second : AbsoluteNormalPath(path);
}

bool ScriptedPlatform::CreateClassKey(const std::string& key) {
    if (key == failingKey) {
        return false;
    }
    registry.try_emplace(key);
    return true;
}

bool ScriptedPlatform::SetClassKeyDefault(const std::string& key, const std::string& value) {
    const auto found = registry.find(key);
    if (found == registry.end()) {
        return false;
    }
    found->second = value;
    return true;
}

int ScriptedPlatform::Ask(const std::string& title, const std::string& text,
                          const std::vector<std::string>& buttons) {
    int chosen = kQuestionClosed;
    std::optional<BoxAnswer> taken;
    if (confirmAnswers.empty() || confirmAnswers.front().IsOk()) {
        shortfalls.push_back("no answer queued for the box " + Quoted(text));
    } else {
        taken = confirmAnswers.front();
        confirmAnswers.pop_front();
        const ConfirmAnswer answer = *taken->Button();
        const int index = answer == ConfirmAnswer::Yes ? 0 : answer == ConfirmAnswer::No ? 1 : -1;
        if (index >= 0 && static_cast<std::size_t>(index) < buttons.size()) {
            chosen = index;
        }
    }
    boxes.push_back({title, text, taken.value_or(BoxAnswer(ConfirmAnswer::Cancel))});
    return chosen;
}

int ScriptedPlatform::StartRun(const std::string& wrapper) {
    startedRuns.push_back(wrapper);
    if (runProcess > 0) {
        runningProcesses[runProcess] = runProcess;
    }
    return runProcess;
}

bool ScriptedPlatform::ProcessAlive(int pid) {
    return runningProcesses.contains(pid);
}

bool ScriptedPlatform::StopProcessGroup(int group) {
    stoppedGroups.push_back(group);
    std::erase_if(runningProcesses, [group](const auto& entry) { return entry.second == group; });
    return true;
}

}  // namespace kestrune
