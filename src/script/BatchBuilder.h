#pragma once
// Writes the batch script from the layout lines, the program fields and the stage ticks. The
// script is first built in memory (the preview); writing it is that text written to a file, so
// what a preview shows is what Run writes.

#include <cstdint>
#include <iosfwd>
#include <string>
#include <vector>

#include "script/Expansion.h"
#include "script/ScriptSettings.h"

namespace kestrune {

// What became of one layout line.
enum class LineFate : std::uint8_t {
    Written,        // it is in the script
    Empty,          // whole run: it expanded to nothing, so nothing is written for it
    UntickedStage,  // whole run: it names the executable of a stage that is not ticked
    LogViewerOff,   // it starts the log viewer, which is switched off
    OtherProgram,   // one stage: it belongs to another program
};

struct ScriptLine {
    std::size_t layoutIndex = 0;  // its place in the layout lines
    LineFate fate = LineFate::Written;
    // Written: the text written for it, without the final line end (a command line with line
    // breaks makes several lines of one). Left out: the line as it would read were its stage
    // ticked and the log viewer on, for showing it apart; empty when nothing can be shown.
    std::string text;
};

struct ScriptPreview {
    // The text Run writes now (in the system's code page on Windows, where a character the
    // code page cannot hold stops the write). Run writes nothing when `missingMessage` or
    // `problem` is set.
    std::string text;
    std::vector<ScriptLine> lines;  // one for every layout line, in order
    // The stages whose tool path stops the run, and the message Run shows for them.
    std::vector<std::string> missingTools;
    std::string missingMessage;
    // Why no script can be built (it would be too large or too complex), or empty.
    std::string problem;

    bool Writable() const { return missingMessage.empty() && problem.empty(); }
};

// The script the whole chain's Run would write now, without writing it and without changing
// anything: ticked fields left empty count as unticked, as Run clears them.
ScriptPreview PreviewBatch(const SpecificationModel& state, const ScriptSettings& settings,
                           std::size_t maxBytes = kMaxScriptBytes);

// The script a single stage's Run would write now (the program at `index`).
ScriptPreview PreviewStageBatch(const SpecificationModel& state, const ScriptSettings& settings,
                                std::size_t index, std::size_t maxBytes = kMaxScriptBytes);

// Computes and stores the command line of the program at `index`. Throws ScriptTooLarge when
// it would be larger than a script may be.
void ComputeCommandLine(SpecificationModel& state, std::size_t index);

// The whole chain. False (nothing written) when a ticked stage has no existing executable, the
// script would be larger than `maxBytes`, or it could not be written; each is reported
// through the platform.
bool WriteBatch(SpecificationModel& state, const ScriptSettings& settings, const std::string& path,
                std::size_t maxBytes = kMaxScriptBytes);

// The single stage at `index`. False (nothing written) when its executable does not exist, the
// script would be too large, or it could not be written.
bool WriteStageBatch(SpecificationModel& state, const ScriptSettings& settings,
                     const std::string& path, std::size_t index,
                     std::size_t maxBytes = kMaxScriptBytes);

// As WriteBatch and WriteStageBatch, but the script goes to `out` instead of a file.
bool WriteBatchTo(SpecificationModel& state, const ScriptSettings& settings, std::ostream& out,
                  std::size_t maxBytes = kMaxScriptBytes);
bool WriteStageBatchTo(SpecificationModel& state, const ScriptSettings& settings, std::ostream& out,
                       std::size_t index, std::size_t maxBytes = kMaxScriptBytes);

}  // namespace kestrune
