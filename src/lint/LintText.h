#pragma once
// Small text helpers of the lint: the edit distance behind "did you mean", and how a piece of
// a line is quoted in a finding.

#include <cstddef>
#include <initializer_list>
#include <string>
#include <string_view>

namespace kestrune::lint {

// Edits (insert, delete, replace, swap of two neighbours) from `a` to `b`, letters compared
// without case; anything above `limit` is reported as limit + 1, so long words cost little.
std::size_t EditDistance(std::string_view a, std::string_view b, std::size_t limit);

// The candidate closest to `word` when it is near enough to be a slip of the hand (one edit for
// short words, two for longer ones); empty when there is none.
std::string_view Closest(std::string_view word, std::initializer_list<std::string_view> candidates);
// The same over any range of string-like candidates.
template <typename Range>
std::string_view ClosestIn(std::string_view word, const Range& candidates);

// How many edits a word of this size may be away from what was meant.
std::size_t SlipLimit(std::string_view word);

// `text` quoted in a message: “text”, cut after 60 bytes (never inside a UTF-8 character) with
// an ellipsis, control bytes shown as "?" so a finding stays one line.
std::string Quote(std::string_view text);

template <typename Range>
std::string_view ClosestIn(std::string_view word, const Range& candidates) {
    const std::size_t limit = SlipLimit(word);
    std::string_view best;
    std::size_t bestDistance = limit + 1;
    for (const auto& candidate : candidates) {
        const std::string_view name(candidate);
        const std::size_t distance = EditDistance(word, name, limit);
        if (distance > 0 && distance < bestDistance) {
            best = name;
            bestDistance = distance;
        }
    }
    return best;
}

}  // namespace kestrune::lint
