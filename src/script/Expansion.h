#pragma once
// Expansion of a layout line into script text.

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "fields/FileVariables.h"
#include "script/ScriptLimits.h"
#include "script/ScriptSettings.h"

namespace kestrune {

enum class ExpandMode { WholeRun, SingleStage };

// Why a line expanded to nothing was dropped.
enum class DropReason : std::uint8_t { None, LogViewerOff, UntickedStage };

// Expands the layout lines of one build. It learns the programs' names once, so a line costs
// only the programs it names rather than every program of the specification.
class LineExpander {
  public:
    // `commandLines`, when given, holds a command line for every program and is read instead
    // of the command lines the programs keep; it must outlive the expander.
    LineExpander(const SpecificationModel& state, const ScriptSettings& settings, ExpandMode mode,
                 const std::vector<std::string>* commandLines = nullptr);

    // Expands one layout line completely; the empty result tells the caller to drop the line.
    // Throws ScriptTooLarge when the text would grow past `limit` bytes on the way, and
    // ScriptTooComplex when it would look at more than `workLimit` bytes.
    std::string Expand(std::string_view line, std::size_t limit = kMaxScriptBytes,
                       std::size_t workLimit = kMaxExpansionWork) const;
    // The same for a line that follows other lines of a script: `start` has read them, and the
    // paths of this line are quoted for the state the shell is in when it gets here.
    // `why`, when given, learns why a line was dropped.
    std::string Expand(std::string_view line, const ShellReader& start,
                       std::size_t limit = kMaxScriptBytes,
                       std::size_t workLimit = kMaxExpansionWork, DropReason* why = nullptr) const;

  private:
    struct Name {
        std::string lower;
        std::size_t program;
    };
    enum class OnePass { Done, Dropped, NotPossible };
    class OnePassRun;

    // Replaces the program variables of `text` in one pass over it, which gives what replacing
    // program by program gives as long as no replacement can form a variable that was not
    // there: no name holds a "$" or a quote, no inserted text holds a "$" that could begin a
    // variable, and no "$" of the text could begin one that runs into inserted text. Otherwise
    // returns NotPossible and leaves `text` alone. Throws ScriptTooLarge as the program by
    // program replacement would.
    OnePass ExpandProgramsInOnePass(std::string& text, const ShellReader& start,
                                    std::size_t limit) const;
    const std::string& CommandLineOf(std::size_t program) const;
    // Calls `visit(begin, end)` for every run of equal entries of names_ that begins `text` at
    // `at`, shortest first.
    template <typename Visitor>
    void ForEachNameAt(const std::string& text, std::size_t at, Visitor&& visit) const;
    // Programs from `from` on whose name follows a "$ClassEXE=" or "$ClassParam=" in `text`,
    // directly or after a quote, in specification order.
    std::vector<std::size_t> ProgramsNamedIn(const std::string& text, std::size_t from) const;
    void CollectNamesAt(const std::string& text, std::size_t at, std::size_t from,
                        std::vector<std::size_t>& found) const;

    const SpecificationModel& state_;
    const ScriptSettings& settings_;
    ExpandMode mode_;
    const std::vector<std::string>* commandLines_;
    FileVariables files_;       // the file values with the later variables they name replaced
    std::vector<Name> names_;   // sorted by lower-cased name, then position
    bool plainNames_ = true;    // no name holds a "$" or a quote
    bool neutralNames_ = true;  // no name holds a byte the shell reads as quoting
    std::size_t longestName_ = 0;
};

// Expands one layout line completely. The empty result tells the caller to drop the line.
std::string ExpandLine(const SpecificationModel& state, const ScriptSettings& settings,
                       std::string_view line, ExpandMode mode);

}  // namespace kestrune
