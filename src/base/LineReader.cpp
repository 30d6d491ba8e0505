#include "base/LineReader.h"

namespace kestrune {

LineReader::LineReader(std::string_view bytes) : bytes_(bytes) {
    const std::size_t eof = bytes_.find('\x1a');
    if (eof != std::string_view::npos) {
        bytes_ = bytes_.substr(0, eof);
    }
}

bool LineReader::Next(std::string& line) {
    if (pos_ >= bytes_.size()) {
        return false;
    }
    std::size_t end = bytes_.find('\n', pos_);
    if (end == std::string_view::npos) {
        end = bytes_.size();
    }
    const std::string_view raw = bytes_.substr(pos_, end - pos_);
    pos_ = end + 1;
    line.clear();
    line.reserve(raw.size());
    // Stray CRs never end a line; they are simply dropped, as is the CR of CR LF.
    std::size_t from = 0;
    for (;;) {
        const std::size_t cr = raw.find('\r', from);
        if (cr == std::string_view::npos) {
            line.append(raw.substr(from));
            break;
        }
        line.append(raw.substr(from, cr - from));
        from = cr + 1;
    }
    return true;
}

}  // namespace kestrune
