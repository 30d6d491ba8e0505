#include "FakePlatform.h"

#include "base/Paths.h"

namespace kestrune::testing {

void FakePlatform::ShowMessage(MessageKind kind, const std::string& text) {
    messages.push_back({MessageTitle(kind), text});
}

ConfirmAnswer FakePlatform::Confirm(const std::string& text) {
    confirmations.push_back(text);
    if (confirmAnswers.empty()) {
        return ConfirmAnswer::Cancel;
    }
    const ConfirmAnswer answer = confirmAnswers.front();
    confirmAnswers.pop_front();
    return answer;
}

std::optional<std::string> FakePlatform::OpenFileDialog(const FileDialogRequest& request) {
    fileDialogs.push_back(request);
    if (fileAnswers.empty()) {
        return std::nullopt;
    }
    auto answer = fileAnswers.front();
    fileAnswers.pop_front();
    return answer;
}

std::optional<std::string> FakePlatform::SaveFileDialog(const FileDialogRequest& request) {
    return OpenFileDialog(request);
}

std::string FakePlatform::ChooseFolder(const std::string& title) {
    folderTitles.push_back(title);
    if (folderAnswers.empty()) {
        return {};
    }
    std::string answer = folderAnswers.front();
    folderAnswers.pop_front();
    return answer;
}

std::optional<std::uint32_t> FakePlatform::ChooseColor(std::uint32_t initial) {
    colorDialogStarts.push_back(initial);
    if (colorAnswers.empty()) {
        return std::nullopt;
    }
    auto answer = colorAnswers.front();
    colorAnswers.pop_front();
    return answer;
}

void FakePlatform::ShellOpen(const std::string& target, const std::string& parameters) {
    shellCalls.push_back({target, parameters});
}

std::string FakePlatform::LongPathName(const std::string& path) {
    const auto found = longPaths.find(path);
    return found != longPaths.end() ? found->second : AbsoluteNormalPath(path);
}

bool FakePlatform::CreateClassKey(const std::string& key) {
    if (key == failingKey) {
        return false;
    }
    registry.try_emplace(key);
    return true;
}

bool FakePlatform::SetClassKeyDefault(const std::string& key, const std::string& value) {
    const auto found = registry.find(key);
    if (found == registry.end()) {
        return false;
    }
    found->second = value;
    return true;
}

}  // namespace kestrune::testing
