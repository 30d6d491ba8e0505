#pragma once
// Finds any of a set of whole words in one pass: the bytes are split into runs of word bytes
// and only runs as long as some word are compared, without case. Several words then cost no
// more than one, which a search per word cannot offer.

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "Ansi.h"
#include "TextFinder.h"

namespace reda {

class WordScanner {
  public:
    // Only words made of word bytes can be found this way.
    static bool accepts(std::string_view word);

    void add(std::string_view word, std::uint8_t tag);
    bool empty() const { return maxLength_ == 0; }

    // Calls hit(offset, tag) for every word in bytes[from, to), in order. `from` and `to` must
    // not cut a word, which line starts and ends never do.
    template <class Hit>
    void scan(std::string_view bytes, std::size_t from, std::size_t to, Hit&& hit) const {
        const auto* h = reinterpret_cast<const unsigned char*>(bytes.data());
        std::size_t i = from;
        while (i < to) {
            while (i < to && !isWordByte(h[i])) {
                // A colour sequence separates words, its letters are no word.
                const std::size_t escape = h[i] == 0x1b ? escapeLength(bytes.substr(0, to), i) : 0;
                i += escape > 0 ? escape : 1;
            }
            const std::size_t start = i;
            while (i < to && isWordByte(h[i])) {
                ++i;
            }
            const std::size_t length = i - start;
            if (length < minLength_ || length > maxLength_) {
                continue;
            }
            for (const auto& [word, tag] : byLength_[length]) {
                if (equalFolded(h + start, word)) {
                    hit(start, tag);
                }
            }
        }
    }

  private:
    static bool equalFolded(const unsigned char* text, const std::string& folded);

    std::vector<std::vector<std::pair<std::string, std::uint8_t>>> byLength_;
    std::size_t minLength_ = SIZE_MAX;
    std::size_t maxLength_ = 0;
};

}  // namespace reda
