#include "app/RunTrust.h"

#include "fields/Group.h"
#include "presets/PresetTrust.h"

namespace kestrune {

namespace {

// A longer value is cut in the question, so a hostile one cannot push its buttons off the
// screen.
constexpr std::size_t kMaxShownBytes = 300;

// Shown without its line breaks, so one value takes one line of the question.
std::string OneLine(std::string_view text) {
    bool cut = false;
    if (text.size() > kMaxShownBytes) {
        std::size_t end = kMaxShownBytes;
        // Not inside a UTF-8 character.
        while (end > 0 && (static_cast<unsigned char>(text[end]) & 0xC0) == 0x80) {
            --end;
        }
        text = text.substr(0, end);
        cut = true;
    }
    std::string line;
    for (const char c : text) {
        if (c == '\r') {
            continue;
        }
        line += c == '\n' ? std::string("\xE2\x86\xB5") : std::string(1, c);
    }
    if (cut) {
        line += "\xE2\x80\xA6";
    }
    return line;
}

// The first line of `script` that holds `value` (or, for a value of several lines, its
// first line); empty when none does.
std::string ScriptLineWith(std::string_view script, std::string_view value) {
    std::string_view needle = value.substr(0, value.find_first_of("\r\n"));
    if (needle.empty()) {
        return {};
    }
    const std::size_t at = script.find(needle);
    if (at == std::string_view::npos) {
        return {};
    }
    const std::size_t start = script.rfind('\n', at);
    const std::size_t from = start == std::string_view::npos ? 0 : start + 1;
    const std::size_t end = script.find('\n', at + needle.size());
    std::string_view line = script.substr(from, end == std::string_view::npos ? end : end - from);
    if (!line.empty() && line.back() == '\r') {
        line.remove_suffix(1);
    }
    return std::string(line);
}

}  // namespace

std::vector<ShellValue> ShellSyntaxValues(const SpecificationModel& model,
                                          std::string_view script) {
    std::vector<ShellValue> values;
    for (const auto& program : model.Programs) {
        const auto add = [&](const auto& field) {
            if (!field.Checked() || !HasShellSyntax(field.Text())) {
                return;
            }
            std::string line = ScriptLineWith(script, field.Text());
            if (line.empty()) {
                line = program->CommandLine;
            }
            values.push_back({program->Name, field.Caption(), field.Text(), std::move(line)});
        };
        for (const auto& field : program->EditBoxes) {
            add(field);
        }
        for (const auto& field : program->ComboBoxes) {
            add(field);
        }
        for (const auto& field : program->BrowseBoxes) {
            add(field);
        }
    }
    return values;
}

std::vector<std::string> TrustQuestionButtons() {
    return {"&Run", "&Trust This Preset", "Cancel"};
}

std::string TrustQuestionText(const std::string& presetPath,
                              const std::vector<ShellValue>& values) {
    std::string text = "The preset " + presetPath +
                       " holds values that the shell runs as commands, not only as words for "
                       "the tool:\r\n";
    for (const ShellValue& value : values) {
        text += "\r\n" + value.program + ", " + value.field + ": " + OneLine(value.value) +
                "\r\n    " + OneLine(value.line) + "\r\n";
    }
    text +=
        "\r\nRun the chain with them? \"Trust This Preset\" runs it and does not ask again until "
        "the file changes.";
    return text;
}

}  // namespace kestrune
