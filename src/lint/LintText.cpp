#include "lint/LintText.h"

#include <algorithm>
#include <array>
#include <span>
#include <vector>

#include "base/Text.h"

namespace kestrune::lint {

std::size_t EditDistance(std::string_view a, std::string_view b, std::size_t limit) {
    const std::size_t n = a.size();
    const std::size_t m = b.size();
    if ((n > m ? n - m : m - n) > limit) {
        return limit + 1;
    }
    // Three rows of the optimal string alignment table; keys and variables are short, so the
    // rows usually live on the stack.
    constexpr std::size_t kShort = 64;
    std::array<std::size_t, 3 * kShort> rows{};
    std::vector<std::size_t> heap;
    std::size_t* base = rows.data();
    if (m + 1 > kShort) {
        heap.resize(3 * (m + 1));
        base = heap.data();
    }
    const std::size_t width = m + 1 > kShort ? m + 1 : kShort;
    std::span<std::size_t> before(base, m + 1);
    std::span<std::size_t> previous(base + width, m + 1);
    std::span<std::size_t> current(base + 2 * width, m + 1);
    for (std::size_t j = 0; j <= m; ++j) {
        previous[j] = j;
    }
    for (std::size_t i = 1; i <= n; ++i) {
        current[0] = i;
        std::size_t rowBest = current[0];
        for (std::size_t j = 1; j <= m; ++j) {
            const bool same = LowerAscii(a[i - 1]) == LowerAscii(b[j - 1]);
            std::size_t cost =
                std::min({previous[j] + 1, current[j - 1] + 1, previous[j - 1] + (same ? 0 : 1)});
            if (i > 1 && j > 1 && LowerAscii(a[i - 1]) == LowerAscii(b[j - 2]) &&
                LowerAscii(a[i - 2]) == LowerAscii(b[j - 1])) {
                cost = std::min(cost, before[j - 2] + 1);
            }
            current[j] = cost;
            rowBest = std::min(rowBest, cost);
        }
        if (rowBest > limit) {
            return limit + 1;
        }
        std::swap(before, previous);
        std::swap(previous, current);
    }
    return std::min(previous[m], limit + 1);
}

std::size_t SlipLimit(std::string_view word) {
    return word.size() <= 4 ? 1 : 2;
}

std::string_view Closest(std::string_view word,
                         std::initializer_list<std::string_view> candidates) {
    return ClosestIn(word, candidates);
}

std::string Quote(std::string_view text) {
    constexpr std::size_t kMaxBytes = 60;
    std::string_view shown = text;
    bool cut = false;
    if (shown.size() > kMaxBytes) {
        std::size_t end = kMaxBytes;
        // Back off to the first byte of a UTF-8 character.
        while (end > 0 && (static_cast<unsigned char>(shown[end]) & 0xC0u) == 0x80u) {
            --end;
        }
        shown = shown.substr(0, end);
        cut = true;
    }
    std::string quoted = "\xE2\x80\x9C";  // “
    for (char c : shown) {
        const auto byte = static_cast<unsigned char>(c);
        quoted.push_back(byte < 32 || byte == 127 ? '?' : c);
    }
    if (cut) {
        quoted.append(kEllipsis);
    }
    quoted.append("\xE2\x80\x9D");  // ”
    return quoted;
}

}  // namespace kestrune::lint
