#pragma once
// Text rules shared by every reader and writer: single-byte text, ASCII-only case folding,
// trimming of control characters and blanks, and locale-free number conversion.

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace kestrune {

inline constexpr std::string_view kCrLf = "\r\n";

// Removes every leading and trailing byte whose code is 32 or less.
std::string_view TrimView(std::string_view text);
std::string Trim(std::string_view text);
// Removes the leading and trailing blanks and tabs only; other control bytes stay.
std::string_view TrimBlanks(std::string_view text);

// Folds A..Z to a..z; every other byte, including those from 0x80 up, stays as it is.
// Inline, since scanners call it for every byte of long texts.
constexpr char LowerAscii(char c) {
    return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
}
std::string LowerAscii(std::string_view text);
bool EqualsNoCase(std::string_view a, std::string_view b);
// Position of the first occurrence of `needle` at or after `from`, letters compared
// without case; npos when there is none. A needle that begins with a byte other than a letter
// is found by jumping from one occurrence of that byte to the next, which makes looking for
// "$..." in a long text fast.
std::size_t FindNoCase(std::string_view haystack, std::string_view needle, std::size_t from = 0);
bool ContainsNoCase(std::string_view haystack, std::string_view needle);
// Replaces every occurrence of `pattern` (letters compared without case), scanning left to
// right; inserted text is not searched again.
std::string ReplaceAllNoCase(std::string_view text, std::string_view pattern,
                             std::string_view replacement);

// A line or name from a file, quoted in a message, is cut to this many bytes and ends with
// kEllipsis when it was longer, so a megabyte-long line cannot flood a message box or the console.
inline constexpr std::size_t kQuotedLineBytes = 300;
inline constexpr std::string_view kEllipsis = "\xE2\x80\xA6";  // "…" in UTF-8

// `line` as a message quotes it: whole, or cut to kQuotedLineBytes followed by kEllipsis.
std::string QuotedLine(std::string_view line);

// A flag value: true exactly when it folds to "true".
bool IsTrueFlag(std::string_view value);

// Decimal integer with optional sign, or "$" followed by hexadecimal digits. Blanks around
// the number are not allowed; values outside the 32-bit range fail.
std::optional<std::int32_t> ParseInteger(std::string_view text);
std::int32_t IntegerOr(std::string_view text, std::int32_t fallback);

// Decimal number with "." as separator, optional sign, fraction and exponent. Rejects text
// with anything after the number, infinities and NaN.
std::optional<double> ParseReal(std::string_view text);

// General format with up to 15 significant digits and "." as separator, no trailing zeros.
std::string FormatReal(double value);

// Boolean as read from preset and settings values: a decimal number is true when it is not
// zero; otherwise "true" or "false" in any letter case; anything else is empty.
std::optional<bool> ParseBoolean(std::string_view text);

inline const char* BoolText(bool value) {
    return value ? "True" : "False";
}

// Splits `line` at its first "=": key trimmed and folded to lower case, value trimmed with its
// case kept. Returns false (leaving key and value alone) when the line has no "=".
bool SplitAtEquals(std::string_view line, std::string& key, std::string& value);

}  // namespace kestrune
