#include "Pattern.h"

#include <re2/re2.h>

#include <algorithm>
#include <vector>

namespace reda {

namespace {

bool isBreak(char c) {
    return c == '\n' || c == '\r';
}

// Searches a regular expression line by line, each line on its own (LF, CR LF and a lone CR
// end one), so a match never reaches over a line end and ^ and $ stand for its ends.
class RegexMatcher final : public Matcher {
  public:
    explicit RegexMatcher(std::shared_ptr<const re2::RE2> regex) : regex_(std::move(regex)) {}

    std::optional<Match> first(std::string_view bytes, std::size_t from,
                               std::size_t to) const override {
        std::size_t lineStart = lineStartBefore(bytes, from);
        std::size_t pos = from;
        while (pos < to) {
            std::size_t lineEnd = pos;
            while (lineEnd < bytes.size() && !isBreak(bytes[lineEnd])) {
                ++lineEnd;
            }
            re2::StringPiece found;
            if (regex_->Match(re2::StringPiece(bytes.data() + lineStart, lineEnd - lineStart),
                              pos - lineStart, lineEnd - lineStart, re2::RE2::UNANCHORED, &found,
                              1)) {
                const auto at = static_cast<std::size_t>(found.data() - bytes.data());
                return at < to ? std::optional<Match>(Match{at, found.size()}) : std::nullopt;
            }
            pos = lineEnd + 1;
            if (lineEnd + 1 < bytes.size() && bytes[lineEnd] == '\r' &&
                bytes[lineEnd + 1] == '\n') {
                ++pos;
            }
            lineStart = pos;
        }
        return std::nullopt;
    }

    std::optional<Match> last(std::string_view bytes, std::size_t from,
                              std::size_t to) const override {
        std::optional<Match> best;
        for (std::size_t pos = from; pos < to;) {
            const std::optional<Match> next = first(bytes, pos, to);
            if (!next) {
                break;
            }
            best = next;
            pos = next->at + 1;
        }
        return best;
    }

  private:
    static std::size_t lineStartBefore(std::string_view bytes, std::size_t at) {
        while (at > 0 && !isBreak(bytes[at - 1])) {
            --at;
        }
        return at;
    }

    std::shared_ptr<const re2::RE2> regex_;
};

}  // namespace

Pattern::Pattern(std::string_view text, PatternMode mode, FindOptions options)
    : text_(text), mode_(mode), options_(options) {
    if (text_.empty()) {
        return;
    }
    if (mode == PatternMode::Plain) {
        finder_ = TextFinder(text_, options);
        return;
    }
    re2::RE2::Options re2Options;
    re2Options.set_case_sensitive(options.matchCase);
    re2Options.set_log_errors(false);
    // Bytes that are not UTF-8 are common in logs; the pattern's UTF-8 still matches UTF-8.
    re2Options.set_encoding(re2::RE2::Options::EncodingUTF8);
    auto regex = std::make_shared<re2::RE2>(text_, re2Options);
    if (!regex->ok()) {
        error_ = regex->error();
        return;
    }
    regex_ = std::move(regex);
}

Pattern::~Pattern() = default;
Pattern::Pattern(const Pattern&) = default;
Pattern& Pattern::operator=(const Pattern&) = default;

std::optional<Match> Pattern::find(std::string_view line, std::size_t from) const {
    if (text_.empty() || !valid() || from > line.size()) {
        return std::nullopt;
    }
    if (regex_) {
        re2::StringPiece found;
        if (!regex_->Match(re2::StringPiece(line.data(), line.size()), from, line.size(),
                           re2::RE2::UNANCHORED, &found, 1)) {
            return std::nullopt;
        }
        return Match{static_cast<std::size_t>(found.data() - line.data()), found.size()};
    }
    const std::size_t at = finder_.next(line, from);
    if (at == TextFinder::npos) {
        return std::nullopt;
    }
    return Match{at, finder_.size()};
}

std::shared_ptr<const Matcher> Pattern::matcher() const {
    if (text_.empty() || !valid()) {
        return nullptr;
    }
    if (regex_) {
        return std::make_shared<RegexMatcher>(regex_);
    }
    return std::make_shared<TextMatcher>(finder_);
}

}  // namespace reda
