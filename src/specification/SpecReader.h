#pragma once
// The lowest layer of the specification reader: comment-free trimmed lines with their numbers,
// the key/value split, and the syntax messages in the system's own words.

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "base/LineReader.h"
#include "base/Platform.h"

namespace kestrune {

// Reads lines of a specification file. Every physical line read adds one to `lineCounter`.
class SpecLineReader {
  public:
    SpecLineReader(std::string_view bytes, std::int32_t& lineCounter);

    // False at the end of the file; otherwise `line` is the next line with its "//" comment
    // cut and trimmed (possibly empty).
    bool ReadSpecLine(std::string& line);
    // Like ReadSpecLine, but skips empty lines.
    bool ReadNonEmptyLine(std::string& line);

  private:
    LineReader lines_;
    std::int32_t& lineCounter_;
    std::string raw_;
};

// Splits a key line at its first "=". A line without "=" shows the "=" syntax error with
// `lineNumber` and returns false, leaving key and value unchanged.
bool SplitKeyValue(Platform& platform, std::string_view line, std::int32_t lineNumber,
                   std::string& key, std::string& value);

// True for the element keywords labelbox, checkbox, editbox, combobox, browsebox, colorbox
// and spaces.
bool IsElementKind(std::string_view key);

// Shows `text` in the "Kestrune Error" box.
void ShowSpecError(Platform& platform, const std::string& text);

// "Expected: "<what>", got: <line>" CR LF "Line: <n>"; `what` is "=", "Setup", "Group" or "{";
// a long line is quoted cut (QuotedLine).
std::string ExpectedMessage(std::string_view what, std::string_view line, std::int32_t lineNumber);
// "Unexpected start of new object. (Did you miss a "{"?)" CR LF "Line: <n>".
std::string UnexpectedObjectMessage(std::int32_t lineNumber);

}  // namespace kestrune
