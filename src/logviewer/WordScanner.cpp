#include "WordScanner.h"

#include <algorithm>

#include "base/Text.h"

namespace reda {

bool WordScanner::accepts(std::string_view word) {
    return !word.empty() && std::all_of(word.begin(), word.end(), [](char c) {
        return isWordByte(static_cast<unsigned char>(c));
    });
}

void WordScanner::add(std::string_view word, std::uint8_t tag) {
    if (!accepts(word)) {
        return;
    }
    std::string folded = kestrune::LowerAscii(word);
    if (byLength_.size() <= folded.size()) {
        byLength_.resize(folded.size() + 1);
    }
    byLength_[folded.size()].emplace_back(std::move(folded), tag);
    minLength_ = std::min(minLength_, word.size());
    maxLength_ = std::max(maxLength_, word.size());
}

bool WordScanner::equalFolded(const unsigned char* text, const std::string& folded) {
    for (std::size_t i = 0; i < folded.size(); ++i) {
        if (kestrune::LowerAscii(static_cast<char>(text[i])) != folded[i]) {
            return false;
        }
    }
    return true;
}

}  // namespace reda
