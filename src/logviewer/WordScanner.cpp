#include "WordScanner.h"

#include <algorithm>

namespace reda {

namespace {

unsigned char fold(unsigned char c) {
    return c >= 'A' && c <= 'Z' ? static_cast<unsigned char>(c + 32) : c;
}

}  // namespace

bool WordScanner::accepts(std::string_view word) {
    return !word.empty() && std::all_of(word.begin(), word.end(), [](char c) {
        return isWordByte(static_cast<unsigned char>(c));
    });
}

void WordScanner::add(std::string_view word, std::uint8_t tag) {
    if (!accepts(word)) {
        return;
    }
    std::string folded(word);
    for (char& c : folded) {
        c = static_cast<char>(fold(static_cast<unsigned char>(c)));
    }
    if (byLength_.size() <= folded.size()) {
        byLength_.resize(folded.size() + 1);
    }
    byLength_[folded.size()].emplace_back(std::move(folded), tag);
    minLength_ = std::min(minLength_, word.size());
    maxLength_ = std::max(maxLength_, word.size());
}

bool WordScanner::equalFolded(const unsigned char* text, const std::string& folded) {
    for (std::size_t i = 0; i < folded.size(); ++i) {
        if (fold(text[i]) != static_cast<unsigned char>(folded[i])) {
            return false;
        }
    }
    return true;
}

}  // namespace reda
