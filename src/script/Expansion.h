#pragma once
// Expansion of a layout line into script text.

#include <cstddef>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

#include "script/ScriptState.h"

namespace kestrune {

enum class ExpandMode { WholeRun, SingleStage };

// Expanded text may insert one program's command line into another's again and again, so its
// size is not bounded by the files it comes from. No real script comes near this.
inline constexpr std::size_t kMaxScriptBytes = std::size_t{64} << 20;

// Thrown instead of building a text longer than the limit asked for; says the limit.
class ScriptTooLarge : public std::runtime_error {
  public:
    explicit ScriptTooLarge(std::size_t limit);
};

// Expands the layout lines of one build. It learns the programs' names once, so a line costs
// only the programs it names rather than every program of the specification.
class LineExpander {
  public:
    LineExpander(const ScriptState& state, ExpandMode mode);

    // Expands one layout line completely; the empty result tells the caller to drop the line.
    // Throws ScriptTooLarge when the text would grow past `limit` bytes on the way.
    std::string Expand(std::string_view line, std::size_t limit = kMaxScriptBytes) const;

  private:
    struct Name {
        std::string lower;
        std::size_t program;
    };
    // Programs from `from` on whose name follows a "$ClassEXE=" or "$ClassParam=" in `text`,
    // directly or after a quote, in specification order.
    std::vector<std::size_t> ProgramsNamedIn(const std::string& text, std::size_t from) const;
    void CollectNamesAt(const std::string& text, std::size_t at, std::size_t from,
                        std::vector<std::size_t>& found) const;

    const ScriptState& state_;
    ExpandMode mode_;
    std::vector<Name> names_;  // sorted by lower-cased name, then position
};

// Expands one layout line completely. The empty result tells the caller to drop the line.
std::string ExpandLine(const ScriptState& state, std::string_view line, ExpandMode mode);

}  // namespace kestrune
