#pragma once
// Finds a byte string in a log, optionally ignoring ASCII letter case and only as a whole
// word. Horspool's skip table over folded bytes keeps the scan well above memory speed for
// words of a few letters.

#include <array>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace reda {

struct FindOptions {
    bool matchCase = false;
    bool wholeWord = false;
};

// Letters, digits and "_" make words; every other byte, including bytes above 127, separates.
// A table, since word scans ask this for every byte.
inline constexpr std::array<bool, 256> kWordBytes = [] {
    std::array<bool, 256> table{};
    for (int c = 0; c < 256; ++c) {
        table[c] =
            (c >= '0' && c <= '9') || (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || c == '_';
    }
    return table;
}();

inline bool isWordByte(unsigned char c) {
    return kWordBytes[c];
}

class TextFinder {
  public:
    static constexpr std::size_t npos = std::string_view::npos;

    TextFinder() = default;
    TextFinder(std::string_view needle, FindOptions options);

    bool empty() const { return needle_.empty(); }
    std::size_t size() const { return needle_.size(); }
    const FindOptions& options() const { return options_; }

    // First match starting at or after `from`; npos when there is none.
    std::size_t next(std::string_view haystack, std::size_t from = 0) const;
    // Last match starting before `before`; npos when there is none.
    std::size_t previous(std::string_view haystack, std::size_t before = npos) const;

  private:
    bool matchesAt(std::string_view haystack, std::size_t at) const;
    bool wordBoundsAt(std::string_view haystack, std::size_t at) const;

    std::string needle_;  // folded when case is ignored
    FindOptions options_;
    bool wordStart_ = false;
    bool wordEnd_ = false;
    std::array<unsigned char, 256> fold_{};
    std::array<std::size_t, 256> forwardSkip_{};
    std::array<std::size_t, 256> backwardSkip_{};
};

}  // namespace reda
