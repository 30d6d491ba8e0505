#include "specification/ElementBlocks.h"

#include "base/Paths.h"
#include "base/Text.h"

namespace kestrune {

namespace {

constexpr std::string_view kHintIndent = "    ";
constexpr std::string_view kHintBreak = "\r\n\r\n    ";

enum class Kind { Check, Edit, Combo, Browse, Color };

// Everything an element block collects before it is handed to the group.
struct Block {
    Kind kind = Kind::Check;
    FieldDescription description;
    bool batchCommand = false;
    TValue value;
    std::string defaultText;  // combo box
    std::string optionText;
    std::string filter;  // empty: the default filter, set when the field is added
    bool filterSet = false;
    std::string browseType = "file";
    std::string colorText = "0 0 0";
};

bool BlockKind(std::string_view key, Kind& kind) {
    if (key == "checkbox") {
        kind = Kind::Check;
    } else if (key == "editbox") {
        kind = Kind::Edit;
    } else if (key == "combobox") {
        kind = Kind::Combo;
    } else if (key == "browsebox") {
        kind = Kind::Browse;
    } else if (key == "colorbox") {
        kind = Kind::Color;
    } else {
        return false;
    }
    return true;
}

void ApplyCheckKey(Block& block, const std::string& key, const std::string& value) {
    if (key == "param") {
        std::string& param = block.description.Param;
        if (param.empty()) {
            param = value;
        } else if (block.batchCommand) {
            param.append(kScriptLineEnd).append(value);
        }
    } else if (key == "batchcommand") {
        if (IsTrueFlag(value)) {
            block.batchCommand = true;
        }
    }
}

void ApplyEditKey(Block& block, const std::string& key, const std::string& value) {
    TValue& v = block.value;
    if (key == "type") {
        const std::string type = LowerAscii(value);
        if (type == "float") {
            v.IsString = false;
        } else if (type == "int") {
            v.IsString = false;
            v.RoundTo = 0;
        }
    } else if (key == "default") {
        v.DefaultText = value;
    } else if (key == "roundto") {
        v.RoundTo = IntegerOr(value, 0);
    } else if (key == "min") {
        v.Min = ParseReal(value).value_or(kDefaultMin);
    } else if (key == "max") {
        v.Max = ParseReal(value).value_or(kUnreadableMax);
    }
}

void ApplyKey(Block& block, const std::string& key, const std::string& value) {
    FieldDescription& d = block.description;
    if (key == "param" && block.kind != Kind::Check) {
        d.Param = value;
    } else if (key == "groups") {
        d.Groups = value;
    } else if (key == "bold") {
        if (IsTrueFlag(value)) {
            d.Bold = true;
        }
    } else if (key == "width") {
        d.Width = ClampedWidth(IntegerOr(value, 1));
    } else {
        switch (block.kind) {
            case Kind::Check:
                ApplyCheckKey(block, key, value);
                break;
            case Kind::Edit:
                ApplyEditKey(block, key, value);
                break;
            case Kind::Combo:
                if (key == "default") {
                    block.defaultText = value;
                } else if (key == "options") {
                    block.optionText = value;
                }
                break;
            case Kind::Browse:
                if (key == "filter") {
                    block.filter = value;
                    block.filterSet = true;
                } else if (key == "type") {
                    block.browseType = LowerAscii(value);
                }
                break;
            case Kind::Color:
                if (key == "color") {
                    block.colorText = value;
                }
                break;
        }
    }
}

void AddField(TZRGroup& group, Block& block) {
    FieldDescription& d = block.description;
    switch (block.kind) {
        case Kind::Check:
            group.AddCheckBox(std::move(d), block.batchCommand);
            break;
        case Kind::Edit:
            group.AddEditBox(std::move(d), block.value);
            break;
        case Kind::Combo: {
            TZRComboBox& combo = group.AddComboBox(std::move(d), block.defaultText);
            ParseOptionList(group, block.optionText);
            combo.EndOptions();
            break;
        }
        case Kind::Browse:
            group.AddBrowseBox(std::move(d), block.browseType,
                               block.filterSet ? block.filter : std::string(kDefaultBrowseFilter));
            break;
        case Kind::Color:
            group.AddColorBox(std::move(d), ParseColorText(block.colorText));
            break;
    }
}

// After "hint" every line up to the block's "}" is another paragraph of the help text.
BlockResult ReadHint(SpecLineReader& reader, Platform& platform, const std::int32_t& lineCounter,
                     TZRGroup& group, Block& block, const std::string& value) {
    std::string& details = block.description.Details;
    details.assign(kHintIndent).append(value);
    std::string line;
    while (reader.ReadNonEmptyLine(line)) {
        if (line == "{") {
            ShowSpecError(platform, UnexpectedObjectMessage(lineCounter));
            return BlockResult::Error;
        }
        if (line == "}") {
            AddField(group, block);
            return BlockResult::Added;
        }
        details.append(kHintBreak).append(line);
    }
    return BlockResult::EndOfFile;
}

}  // namespace

BlockResult ReadElement(SpecLineReader& reader, Platform& platform, std::int32_t& lineCounter,
                        TZRGroup& group, const std::string& key, const std::string& value) {
    Block block;
    if (!BlockKind(key, block.kind)) {
        if (key == "labelbox") {
            group.AddLabel(value);
        } else if (key == "spaces") {
            group.AddSpaces(IntegerOr(value, 0));
        }
        return BlockResult::Added;
    }
    block.description.Caption = value;

    std::string line;
    if (!reader.ReadSpecLine(line)) {
        return BlockResult::EndOfFile;
    }
    if (line != "{") {
        ShowSpecError(platform, ExpectedMessage("{", line, lineCounter));
        return BlockResult::Error;
    }

    std::string fieldKey;
    std::string fieldValue;
    while (reader.ReadNonEmptyLine(line)) {
        if (line == "}") {
            AddField(group, block);
            return BlockResult::Added;
        }
        if (!SplitKeyValue(platform, line, lineCounter, fieldKey, fieldValue)) {
            return BlockResult::Error;
        }
        if (fieldKey == "hint") {
            return ReadHint(reader, platform, lineCounter, group, block, fieldValue);
        }
        ApplyKey(block, fieldKey, fieldValue);
    }
    return BlockResult::EndOfFile;
}

void ParseOptionList(TZRGroup& group, std::string_view text) {
    // A name holding "|" comes back once per "|" as a shorter name; the budget keeps such a
    // text from multiplying into gigabytes of options. Plain option texts never reach it.
    std::size_t budget = text.size() * 2 + 65536;
    constexpr std::size_t npos = std::string_view::npos;
    std::size_t comma = text.find(',');
    std::size_t valueEnd = npos;
    std::size_t valueEndFor = npos;  // the comma valueEnd was found for
    std::size_t pipe = text.find('|');
    std::size_t start = 0;
    // The positions are cached and only searched again once the text has moved past them,
    // which keeps the whole walk linear.
    while (start < text.size()) {
        if (comma != npos && comma < start) {
            comma = text.find(',', start);
        }
        if (comma == npos) {
            return;
        }
        if (valueEndFor != comma) {
            valueEnd = text.find('|', comma + 1);
            valueEndFor = comma;
        }
        const std::string_view name = TrimView(text.substr(start, comma - start));
        const std::string_view value =
            TrimView(valueEnd == npos ? text.substr(comma + 1)
                                      : text.substr(comma + 1, valueEnd - comma - 1));
        if (name.size() + value.size() > budget) {
            return;
        }
        budget -= name.size() + value.size();
        group.AddComboOption(std::string(name), std::string(value));
        if (pipe != npos && pipe < start) {
            pipe = text.find('|', start);
        }
        if (pipe == npos) {
            return;
        }
        start = pipe + 1;
    }
}

std::uint32_t ParseColorText(std::string_view text) {
    const std::size_t first = text.find(' ');
    if (first == std::string_view::npos) {
        return 0;
    }
    const std::string_view rest = text.substr(first + 1);
    const std::size_t second = rest.find(' ');
    if (second == std::string_view::npos) {
        return 0;
    }
    auto number = [](std::string_view part) {
        return static_cast<std::uint32_t>(IntegerOr(part, 0));
    };
    // Unsigned arithmetic: out-of-range components wrap the way 32-bit integers do.
    return number(text.substr(0, first)) * 65536u + number(rest.substr(0, second)) * 256u +
           number(rest.substr(second + 1));
}

}  // namespace kestrune
