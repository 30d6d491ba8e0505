#pragma once
// Splits file bytes into physical lines the way every reader of the system sees them: a line
// ends at LF or CR LF, a CR not followed by LF is dropped, and Ctrl-Z ends the file.

#include <string>
#include <string_view>

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

}  // namespace kestrune
