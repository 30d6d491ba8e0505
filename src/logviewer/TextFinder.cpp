#include "TextFinder.h"

#include "Ansi.h"

#include <algorithm>
#include <cstring>

#include "base/Text.h"

namespace reda {

TextFinder::TextFinder(std::string_view needle, FindOptions options)
    : needle_(needle), options_(options) {
    for (int c = 0; c < 256; ++c) {
        const char byte = static_cast<char>(c);
        fold_[c] =
            static_cast<unsigned char>(options.matchCase ? byte : kestrune::LowerAscii(byte));
    }
    for (char& c : needle_) {
        c = static_cast<char>(fold_[static_cast<unsigned char>(c)]);
    }
    const std::size_t m = needle_.size();
    wordStart_ = m > 0 && isWordByte(static_cast<unsigned char>(needle_.front()));
    wordEnd_ = m > 0 && isWordByte(static_cast<unsigned char>(needle_.back()));
    forwardSkip_.fill(m);
    backwardSkip_.fill(m);
    for (std::size_t i = 0; i + 1 < m; ++i) {
        forwardSkip_[static_cast<unsigned char>(needle_[i])] = m - 1 - i;
    }
    for (std::size_t i = m; i-- > 1;) {
        backwardSkip_[static_cast<unsigned char>(needle_[i])] = i;
    }
}

bool TextFinder::matchesAt(std::string_view haystack, std::size_t at) const {
    const auto* h = reinterpret_cast<const unsigned char*>(haystack.data()) + at;
    for (std::size_t i = 0; i < needle_.size(); ++i) {
        if (fold_[h[i]] != static_cast<unsigned char>(needle_[i])) {
            return false;
        }
    }
    return true;
}

bool TextFinder::wordBoundsAt(std::string_view haystack, std::size_t at) const {
    if (!options_.wholeWord) {
        return true;
    }
    // As with \b: a boundary is needed only where the needle starts or ends with a word byte.
    const std::size_t end = at + needle_.size();
    const bool openBefore = !wordStart_ || at == 0 ||
                            !isWordByte(static_cast<unsigned char>(haystack[at - 1])) ||
                            escapeEndsAt(haystack, at);
    const bool openAfter = !wordEnd_ || end >= haystack.size() ||
                           !isWordByte(static_cast<unsigned char>(haystack[end]));
    return openBefore && openAfter;
}

std::size_t TextFinder::next(std::string_view haystack, std::size_t from) const {
    const std::size_t m = needle_.size();
    const std::size_t n = haystack.size();
    if (m == 0 || from > n || n - from < m) {
        return npos;
    }
    const auto* h = reinterpret_cast<const unsigned char*>(haystack.data());
    const auto last = static_cast<unsigned char>(needle_[m - 1]);
    const auto first = static_cast<unsigned char>(needle_[0]);
    const bool plainFirst = options_.matchCase || !(first >= 'a' && first <= 'z');
    if (m == 1 && plainFirst) {
        // One byte that has no other case: memchr is the fastest scan there is.
        for (std::size_t i = from; i < n;) {
            const void* hit = std::memchr(h + i, first, n - i);
            if (hit == nullptr) {
                return npos;
            }
            const auto at = static_cast<std::size_t>(static_cast<const unsigned char*>(hit) - h);
            if (wordBoundsAt(haystack, at)) {
                return at;
            }
            i = at + 1;
        }
        return npos;
    }
    std::size_t i = from;
    while (i <= n - m) {
        const unsigned char c = fold_[h[i + m - 1]];
        if (c == last && matchesAt(haystack, i) && wordBoundsAt(haystack, i)) {
            return i;
        }
        i += forwardSkip_[c];
    }
    return npos;
}

std::size_t TextFinder::previous(std::string_view haystack, std::size_t before) const {
    const std::size_t m = needle_.size();
    const std::size_t n = haystack.size();
    if (m == 0 || n < m || before == 0) {
        return npos;
    }
    // Windows start at most at min(before - 1, n - m) and move left.
    std::size_t i = std::min(before - 1, n - m);
    const auto* h = reinterpret_cast<const unsigned char*>(haystack.data());
    const auto first = static_cast<unsigned char>(needle_[0]);
    for (;;) {
        const unsigned char c = fold_[h[i]];
        if (c == first && matchesAt(haystack, i) && wordBoundsAt(haystack, i)) {
            return i;
        }
        const std::size_t skip = backwardSkip_[c];
        if (i < skip) {
            return npos;
        }
        i -= skip;
    }
}

}  // namespace reda
