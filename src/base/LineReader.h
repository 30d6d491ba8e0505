#pragma once
// Splits file bytes into physical lines the way every reader of the system sees them: a line
// ends at LF or CR LF, a CR not followed by LF is dropped, and Ctrl-Z ends the file.

#include <string>
#include <string_view>

#include "base/Text.h"

namespace kestrune {

class LineReader {
  public:
    explicit LineReader(std::string_view bytes);

    // Puts the next physical line in `line`; false at the end of the file.
    bool Next(std::string& line);
    bool AtEnd() const { return pos_ >= bytes_.size(); }

  private:
    std::string_view bytes_;
    std::size_t pos_ = 0;
};

// Calls visit(key, value) for every trimmed line of `bytes` that holds "=": the key trimmed and
// folded to lower case, the value trimmed. Empty lines and lines without "=" are passed over.
template <typename Visitor>
void ForEachKeyLine(std::string_view bytes, Visitor&& visit) {
    LineReader lines(bytes);
    std::string raw;
    std::string key;
    std::string value;
    while (lines.Next(raw)) {
        const std::string_view line = TrimView(raw);
        if (!line.empty() && SplitAtEquals(line, key, value)) {
            visit(key, value);
        }
    }
}

}  // namespace kestrune
