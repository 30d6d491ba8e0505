#pragma once
// Replacing variables in a layout line: plain and quoted replacement with a size limit, and the
// tests that tell whether a replacement could form a variable that was not there. Shared by the
// two halves of the line expander (Expansion.cpp and ProgramExpansion.cpp).

#include <cstddef>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "fields/ShellQuoting.h"

namespace kestrune::expansion {

inline constexpr std::string_view kExePrefix = "$ClassEXE=";
inline constexpr std::string_view kParamPrefix = "$ClassParam=";

// Replaces every occurrence of `pattern`, letters compared without case, scanning left to right
// without searching inserted text again; counts first, so a text that would pass `limit` is
// never built. Throws ScriptTooLarge for such a text; false when nothing was replaced.
bool ReplaceAll(std::string& text, std::string_view pattern, std::string_view value,
                std::size_t limit);

// The quoted forms of one path for the places it goes to; a line has few kinds of place.
class QuotedForms {
  public:
    explicit QuotedForms(std::string_view value) : value_(value) {}
    const std::string& At(const ShellContext& context);

  private:
    std::string_view value_;
    std::vector<std::pair<ShellContext, std::unique_ptr<std::string>>> forms_;
};

// As ReplaceAll, but `value` is a path: each occurrence gets it quoted for its place, as the
// shell reads the text up to there, beginning in the state of `start` (the script's lines
// before this one) or, without one, at the start of a script.
bool ReplaceAllQuoted(std::string& text, std::string_view pattern, std::string_view value,
                      ScriptShell shell, std::size_t limit, const ShellReader* start = nullptr);

// Replaces the unquoted form "<prefix><name>" when the text holds it, otherwise the quoted form
// "<prefix>'<name>'"; a text holding both keeps its quoted occurrences. A `shell` quotes the
// value as a path for that shell; without one it goes in as it is.
bool ReplaceNamed(std::string& text, std::string_view prefix, const std::string& name,
                  const std::string& value, std::size_t limit,
                  std::optional<ScriptShell> shell = std::nullopt,
                  const ShellReader* start = nullptr);

// True when text read in place of a variable leaves the shell just as the variable's own text
// does, whatever the shell was in before: it is not empty, holds no byte that quotes, escapes
// or begins an expansion or a comment, and does not end a word.
bool IsNeutral(std::string_view text, ScriptShell shell);

// True when a variable could begin at the "$" at text[at]: the text there agrees with the start
// of "$ClassEXE=" or "$ClassParam=" for as long as both go on.
bool CouldBeginVariable(std::string_view text, std::size_t at);

// True when a "$" of `value` could begin a variable once the value stands in a text.
bool CouldFormVariable(std::string_view value);

}  // namespace kestrune::expansion
