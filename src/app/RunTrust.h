#pragma once
// The typed values of a preset that would do more in the shell than pass words to a tool, and
// the question that shows them before such a preset runs for the first time.

#include <string>
#include <string_view>
#include <vector>

#include "specification/SpecificationModel.h"

namespace kestrune {

struct ShellValue {
    std::string program;
    std::string field;
    std::string value;
    std::string line;  // the script line it makes, or the program's command line
    friend bool operator==(const ShellValue&, const ShellValue&) = default;
};

// The ticked edit, combo and browse boxes whose values hold shell syntax, in the programs'
// order, each with the first line of `script` that holds its value (the program's command line
// when no line holds it as typed).
std::vector<ShellValue> ShellSyntaxValues(const SpecificationModel& model, std::string_view script);

inline constexpr const char* kTrustQuestionTitle = "Run This Preset?";
// The question's buttons: run once, trust these bytes of the preset, do not run.
inline constexpr int kTrustRunOnce = 0;
inline constexpr int kTrustAlways = 1;
std::vector<std::string> TrustQuestionButtons();
// Lists each value with its program, field and script line; CR LF between lines.
std::string TrustQuestionText(const std::string& presetPath, const std::vector<ShellValue>& values);

inline constexpr const char* kAnotherRunQuestion = "The chain is still running. Start another run?";

}  // namespace kestrune
