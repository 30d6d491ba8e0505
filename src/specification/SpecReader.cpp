#include "specification/SpecReader.h"

#include <array>

#include "base/Text.h"

namespace kestrune {

SpecLineReader::SpecLineReader(std::string_view bytes, std::int32_t& lineCounter)
    : lines_(bytes), lineCounter_(lineCounter) {}

bool SpecLineReader::ReadSpecLine(std::string& line) {
    if (!lines_.Next(raw_)) {
        return false;
    }
    // Wraps instead of overflowing on a file of more than 2^31 lines.
    lineCounter_ = static_cast<std::int32_t>(static_cast<std::uint32_t>(lineCounter_) + 1u);
    std::string_view text = raw_;
    const std::size_t comment = text.find("//");
    if (comment != std::string_view::npos) {
        text = text.substr(0, comment);
    }
    line.assign(TrimView(text));
    return true;
}

bool SpecLineReader::ReadNonEmptyLine(std::string& line) {
    while (ReadSpecLine(line)) {
        if (!line.empty()) {
            return true;
        }
    }
    return false;
}

bool SplitKeyValue(Platform& platform, std::string_view line, std::int32_t lineNumber,
                   std::string& key, std::string& value) {
    const std::size_t equals = line.find('=');
    if (equals == std::string_view::npos) {
        ShowSpecError(platform, ExpectedMessage("=", line, lineNumber));
        return false;
    }
    // Assigning in place reuses the callers' buffers, which every line of a file passes through.
    key.assign(TrimView(line.substr(0, equals)));
    for (char& c : key) {
        c = LowerAscii(c);
    }
    value.assign(TrimView(line.substr(equals + 1)));
    return true;
}

bool IsElementKind(std::string_view key) {
    static constexpr std::array<std::string_view, 7> kKinds = {
        "labelbox", "checkbox", "editbox", "combobox", "browsebox", "colorbox", "spaces"};
    for (std::string_view kind : kKinds) {
        if (key == kind) {
            return true;
        }
    }
    return false;
}

void ShowSpecError(Platform& platform, const std::string& text) {
    platform.ShowMessage(MessageKind::SyntaxError, text);
}

std::string ExpectedMessage(std::string_view what, std::string_view line, std::int32_t lineNumber) {
    std::string text = "Expected: \"";
    text.append(what).append("\", got: ").append(QuotedLine(line)).append(kCrLf);
    text.append("Line: ").append(std::to_string(lineNumber));
    return text;
}

std::string UnexpectedObjectMessage(std::int32_t lineNumber) {
    std::string text = "Unexpected start of new object. (Did you miss a \"{\"?)";
    text.append(kCrLf).append("Line: ").append(std::to_string(lineNumber));
    return text;
}

}  // namespace kestrune
