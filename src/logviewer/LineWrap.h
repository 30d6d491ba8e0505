#pragma once
// Breaks a decoded line into the screen rows it takes when long lines are wrapped. Only lines
// being drawn are broken, and only as far as they are decoded (the view's column cap), so the
// size of a line costs nothing beyond what is drawn.

#include <cstddef>
#include <vector>

#include "LineDecoder.h"

namespace reda {

// The columns where the rows of `line` start when a row holds at most `width` columns (at
// least 1); the first is 0, an empty line has that one row. A row ends after a blank when one
// lies within the last quarter of the width, else at the width. A row never starts inside a
// character: not between the two halves of a surrogate pair or of a caret notation ("^@").
// A tab's blanks are blanks like any (tabs expand from the line's start, not the row's);
// colour sequences take no column and go with the text after them.
// `trailer` columns are drawn after the text on the last row (the "… N more bytes" marker of
// a clipped line): when they do not fit there, they get a row of their own, starting at the
// text's end.
std::vector<std::size_t> wrapLine(const DisplayLine& line, std::size_t width,
                                  std::size_t trailer = 0);

}  // namespace reda
