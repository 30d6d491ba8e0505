#pragma once
// `kestrune-cli replay`: a script of user steps run on the three windows' logic without a
// window. The whole script is read and checked before the first step runs, so a mistake in a
// late line cannot leave the steps before it half done.

#include <cstdint>
#include <iosfwd>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "app/Kestrune.h"
#include "app/ProgramHome.h"
#include "base/Result.h"

namespace kestrune::cli {

enum class StepKind {
    Start,
    Answer,
    File,
    Color,
    Click,
    Menu,
    Tab,
    Stage,
    Field,
    Set,
    Select,
    Tray,
    Close,
    Dump
};

struct ReplayStep {
    int line = 0;        // from 1
    std::string source;  // the line as written, without surrounding blanks, for messages
    StepKind kind = StepKind::Dump;
    std::vector<std::string> words;  // start: the program's command line
    // answer, tray: the word; file: the path; click, menu, set, select: the control's name.
    std::string name;
    std::string text;     // field type: the text
    bool cancel = false;  // file -, color -
    bool on = false;      // stage on
    std::uint32_t color = 0;
    // menu, tab, stage, select: the index; set: the value; field: the field's index.
    int index = 0;
    int program = 0;  // field: the program's index
    int option = 0;   // field pick: the option's index
    FieldKind fieldKind = FieldKind::CheckBoxes;
    FieldAction action = FieldAction::Tick;
};

struct ScriptError {
    int line = 0;
    std::string source;
    std::string what;
};

// Splits a line into words: blanks and tabs separate them, a word with blanks is written in
// double quotes, and "" inside quotes stands for one double quote. A failure names what is
// wrong with the line.
Result<std::vector<std::string>> SplitWords(std::string_view line);

// Reads a whole script; the steps in order, or the first line that is not a valid step.
struct ParsedScript {
    std::vector<ReplayStep> steps;
    std::optional<ScriptError> error;
};
ParsedScript ParseScript(std::string_view bytes);

// Runs the script file on a fresh program whose folders are `home`'s; `executablePath` is the
// program's own path for the preset-file association. Returns the exit code: 0 the script ran
// to its end, 1 a step could not be carried out or the script cannot be read.
int RunReplay(const std::string& scriptPath, const ProgramHome& home,
              const std::string& executablePath, std::ostream& out, std::ostream& err);

}  // namespace kestrune::cli
