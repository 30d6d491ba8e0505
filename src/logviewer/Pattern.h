#pragma once
// What a person looks for in a log: plain text, whole words or a regular expression. Regular
// expressions are RE2's, which run in time linear in the text, so no pattern can freeze the
// window however it is written. A pattern that does not compile says why.

#include <cstddef>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

#include "SearchJob.h"
#include "TextFinder.h"

namespace re2 {
class RE2;
}

namespace reda {

enum class PatternMode : std::uint8_t { Plain, Regex };

class Pattern {
  public:
    Pattern() = default;
    // Whole words apply to plain text only; a regular expression says \b itself.
    Pattern(std::string_view text, PatternMode mode, FindOptions options);
    ~Pattern();
    Pattern(const Pattern&);
    Pattern& operator=(const Pattern&);

    bool empty() const { return text_.empty(); }
    bool valid() const { return error_.empty(); }
    // Why a regular expression does not compile, in RE2's words; empty when it does.
    const std::string& error() const { return error_; }
    const std::string& text() const { return text_; }
    PatternMode mode() const { return mode_; }

    // The first match in a line at or after `from`; none for an empty or invalid pattern.
    std::optional<Match> find(std::string_view line, std::size_t from = 0) const;
    bool matches(std::string_view line) const { return find(line).has_value(); }

    // For a search of the whole log on a worker thread; null for an empty or invalid pattern.
    std::shared_ptr<const Matcher> matcher() const;

  private:
    std::string text_;
    PatternMode mode_ = PatternMode::Plain;
    FindOptions options_;
    TextFinder finder_;
    std::shared_ptr<const re2::RE2> regex_;
    std::string error_;
};

}  // namespace reda
