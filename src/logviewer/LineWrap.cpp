#include "LineWrap.h"

#include <algorithm>

namespace reda {

namespace {

// Whether a row may start at `column`: some byte begins there, it is one of a tab's blanks
// (drawn as blanks, so any of them may start a row), or it is the text's end.
bool startsCharacter(const DisplayLine& line, std::size_t column) {
    if (column >= line.text.size() || line.text[column] == u' ') {
        return true;
    }
    return std::binary_search(line.columns.begin(), line.columns.end(),
                              static_cast<std::uint32_t>(column));
}

}  // namespace

std::vector<std::size_t> wrapLine(const DisplayLine& line, std::size_t width, std::size_t trailer) {
    width = std::max<std::size_t>(width, 1);
    const std::size_t size = line.text.size();
    const std::size_t reach = width / 4;
    std::vector<std::size_t> starts{0};
    std::size_t begin = 0;
    while (size - begin > width) {
        const std::size_t limit = begin + width;
        std::size_t end = 0;
        // The last blank near the edge that a row may start after.
        for (std::size_t c = limit; c > begin + 1 && c + reach >= limit; --c) {
            if (line.text[c - 1] == u' ' && startsCharacter(line, c)) {
                end = c;
                break;
            }
        }
        if (end == 0) {
            end = limit;
            while (end > begin + 1 && !startsCharacter(line, end)) {
                --end;
            }
            // A character wider than the row (a pair in a row of one column) takes it whole.
            while (!startsCharacter(line, end)) {
                ++end;
            }
        }
        if (end >= size) {
            break;  // the wide character ends the line
        }
        starts.push_back(end);
        begin = end;
    }
    if (trailer > 0 && size - begin + trailer > width && size > begin) {
        starts.push_back(size);
    }
    return starts;
}

}  // namespace reda
