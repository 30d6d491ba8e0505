#pragma once
// The field element lines and blocks inside a Group block.

#include <cstdint>
#include <string>
#include <string_view>

#include "fields/Group.h"
#include "specification/SpecReader.h"

namespace kestrune {

enum class BlockResult {
    Added,      // the element was handed to the group (or needed no block)
    EndOfFile,  // the file ended inside the block; no field was added
    Error,      // a syntax error was shown; reading stops
};

// Handles one element line whose key is an element keyword, reading its block from `reader`
// when the kind has one, and adds the field to `group`. Widths are cut to kMaxColumns.
BlockResult ReadElement(SpecLineReader& reader, Platform& platform, std::int32_t& lineCounter,
                        TZRGroup& group, const std::string& key, const std::string& value);

// "name,value|name,value|..." into the group's last combo box. Linear in the text; stops once
// the options handed over would exceed about twice the text's size (names holding "|").
void ParseOptionList(TZRGroup& group, std::string_view text);

// "first second third" into first*65536 + second*256 + third; 0 unless there are three parts.
std::uint32_t ParseColorText(std::string_view text);

}  // namespace kestrune
