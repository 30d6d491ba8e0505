#include "draft/DraftWriter.h"

#include <algorithm>
#include <array>
#include <unordered_map>
#include <unordered_set>

#include "base/Text.h"

namespace kestrune {
namespace {

// Hints longer than this are cut at a word: the details pane is for a reminder, not the manual.
constexpr std::size_t kLongestHint = 400;

bool IsWordChar(char c) {
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9');
}

// The lower-case words of an argument's name: "<fractional seconds>" -> fractional, seconds.
std::vector<std::string> ArgumentWords(std::string_view argument) {
    std::vector<std::string> words;
    std::string word;
    for (char c : argument) {
        if (IsWordChar(c)) {
            word.push_back(LowerAscii(c));
        } else if (!word.empty()) {
            words.push_back(std::move(word));
            word.clear();
        }
    }
    if (!word.empty()) {
        words.push_back(std::move(word));
    }
    return words;
}

template <std::size_t N>
bool OneOf(const std::string& word, const std::array<std::string_view, N>& list) {
    return std::find(list.begin(), list.end(), word) != list.end();
}

constexpr std::array<std::string_view, 6> kFolderWords{"dir",     "directory", "folder",
                                                       "dirname", "dirpath",   "outdir"};
constexpr std::array<std::string_view, 6> kFileWords{"file",     "filename", "path",
                                                     "filepath", "pathname", "files"};
constexpr std::array<std::string_view, 19> kIntegerWords{
    "n",     "num",    "number",  "int",  "integer", "count",  "width", "lines",   "port", "level",
    "depth", "months", "spacing", "uint", "int64",   "uint64", "bytes", "columns", "jobs"};
constexpr std::array<std::string_view, 6> kRealWords{"float",  "float64", "fractional",
                                                     "factor", "ratio",   "real"};
constexpr std::array<std::string_view, 14> kLongTextWords{
    "list",   "data",   "string", "url",    "expression", "command", "pattern",
    "header", "format", "filter", "script", "args",       "text",    "query"};

bool IsInteger(std::string_view text) {
    return ParseInteger(text).has_value() && text.find('.') == std::string_view::npos;
}

bool IsReal(std::string_view text) {
    return ParseReal(text).has_value();
}

std::string CaptionFor(const HelpOption& option) {
    std::string_view name = PreferredName(option);
    while (!name.empty() && name.front() == '-') {
        name.remove_prefix(1);
    }
    return name.empty() ? std::string("option") : std::string(name);
}

// Makes `caption` differ from every earlier one, ignoring case ("level", "level 2", ...).
class CaptionSet {
  public:
    std::string Unique(const std::string& caption) {
        std::string candidate = caption;
        std::size_t& next = next_[LowerAscii(caption)];
        while (!used_.insert(LowerAscii(candidate)).second) {
            next = std::max<std::size_t>(next, 2);
            candidate = caption + " " + std::to_string(next++);
        }
        return candidate;
    }

  private:
    std::unordered_set<std::string> used_;
    std::unordered_map<std::string, std::size_t> next_;
};

std::string HintFor(const HelpOption& option) {
    std::string hint = SpecificationText(option.description);
    if (hint.size() > kLongestHint) {
        std::size_t cut = hint.rfind(' ', kLongestHint);
        hint.resize(cut == std::string::npos || cut < kLongestHint / 2 ? kLongestHint : cut);
        hint += " ...";
    }
    return hint;
}

// A combo box's choice must not hold the list's own separators.
bool UsableChoice(std::string_view choice) {
    return !choice.empty() && choice.find(',') == std::string_view::npos &&
           choice.find('|') == std::string_view::npos;
}

// A combo box for an option that lists its values; false when it lists none that fit.
bool FillComboBox(const HelpOption& option, const std::string& name, DraftField& field) {
    std::vector<std::string> choices;
    for (const std::string& choice : option.choices) {
        if (UsableChoice(SpecificationText(choice))) {
            choices.push_back(SpecificationText(choice));
        }
    }
    if (choices.empty()) {
        return false;
    }
    field.kind = DraftKind::ComboBox;
    // An optional value must be glued to its option; a required one may follow a blank.
    const std::string prefix = option.optionalArgument ? name + "=" : std::string();
    field.param = option.optionalArgument ? std::string() : name;
    for (const std::string& choice : choices) {
        if (!field.options.empty()) {
            field.options += "|";
        }
        field.options.append(choice).append(",").append(prefix).append(choice);
    }
    const std::string wanted = SpecificationText(option.defaultValue);
    const auto found = std::find(choices.begin(), choices.end(), wanted);
    field.defaultValue = found != choices.end() ? wanted : choices.front();
    return true;
}

// A browse box for an argument named like a folder or a file; false for any other.
bool FillBrowseBox(const HelpOption& option, const std::vector<std::string>& words,
                   DraftField& field) {
    const std::string first = words.empty() ? std::string() : words.front();
    if (OneOf(first, kFolderWords) || (words.size() == 1 && first.ends_with("dir"))) {
        field.kind = DraftKind::BrowseBox;
        field.type = "path";
        field.width = 2;
        return true;
    }
    const std::string& last = words.empty() ? first : words.back();
    const bool alternatives = option.argument.find('|') != std::string::npos;
    if (OneOf(first, kFileWords) || (words.size() == 1 && first.ends_with("file")) ||
        (!alternatives && (OneOf(last, kFileWords) || last.ends_with("file")))) {
        field.kind = DraftKind::BrowseBox;
        field.type = "file";
        field.width = 2;
        return true;
    }
    return false;
}

// An edit box, typed as a number where the argument's name and default say so.
void FillEditBox(const HelpOption& option, const std::vector<std::string>& words,
                 DraftField& field) {
    const std::string first = words.empty() ? std::string() : words.front();
    field.kind = DraftKind::EditBox;
    // "(default: all interfaces)" describes; only a default without blanks is a value to pass.
    std::string defaultValue = SpecificationText(option.defaultValue);
    if (defaultValue.find(' ') != std::string::npos) {
        defaultValue.clear();
    }
    const bool realName = std::any_of(words.begin(), words.end(),
                                      [](const std::string& w) { return OneOf(w, kRealWords); });
    // "NUM+SUFFIX" takes "10M": only a value named by one number word is a plain number.
    const bool integerName = !realName && words.size() == 1 && OneOf(first, kIntegerWords);
    // The first and the last test both leave no type; they stay apart, since the order of the
    // tests between them decides.
    // NOLINTNEXTLINE(bugprone-branch-clone)
    if (!defaultValue.empty() && (realName || integerName) && !IsReal(defaultValue)) {
        field.type.clear();  // "(default: as --buffer)": a remark, not a value
    } else if (realName || (integerName && !defaultValue.empty() && !IsInteger(defaultValue))) {
        field.type = "float";
    } else if (integerName) {
        field.type = "int";
    } else if (words.empty() || first == "value" || first == "int" || first == "uint") {
        // No name to go by (Go's "value"): the default says what the number is.
        if (!defaultValue.empty() && IsInteger(defaultValue)) {
            field.type = "int";
        }
    } else if (first == "duration" || first == "string") {
        field.type.clear();
    }
    if (field.type.empty() && (realName || integerName)) {
        field.defaultValue.clear();
    } else {
        field.defaultValue = defaultValue;
    }
    if (std::any_of(words.begin(), words.end(),
                    [](const std::string& w) { return OneOf(w, kLongTextWords); }) ||
        option.argument.size() > 16) {
        field.width = 2;
    }
}

DraftField FieldFor(const HelpOption& option) {
    DraftField field;
    field.caption = CaptionFor(option);
    field.hint = HintFor(option);
    const std::string& name = PreferredName(option);
    if (FillComboBox(option, name, field)) {
        return field;
    }
    if (option.argument.empty() || option.optionalArgument) {
        // A value the tool takes only glued and optionally: the bare switch is the safe draft.
        field.kind = DraftKind::CheckBox;
        field.param = name;
        return field;
    }
    field.param = name;
    const std::vector<std::string> words = ArgumentWords(option.argument);
    if (!FillBrowseBox(option, words, field)) {
        FillEditBox(option, words, field);
    }
    return field;
}

void WriteField(std::string& out, const DraftField& field) {
    const auto key = [&](std::string_view name, std::string_view value) {
        if (!value.empty()) {
            out.append("        ").append(name).append(" = ").append(value).append("\n");
        }
    };
    static constexpr std::array<std::string_view, 5> kKeywords{"LabelBox", "CheckBox", "EditBox",
                                                               "ComboBox", "BrowseBox"};
    const std::string_view keyword = kKeywords[static_cast<std::size_t>(field.kind)];
    out.append("    ").append(keyword).append(" = ").append(field.caption).append("\n");
    if (field.kind == DraftKind::Label) {
        return;
    }
    out.append("    {\n");
    key("Param", field.param);
    if (field.kind == DraftKind::EditBox || field.kind == DraftKind::BrowseBox) {
        key("Type", field.type);
    }
    if (field.kind == DraftKind::BrowseBox) {
        key("Filter", "All Files (*)|*");
    }
    key("Options", field.options);
    key("Default", field.defaultValue);
    if (field.width > 1) {
        key("Width", std::to_string(field.width));
    }
    // Last: every line after "Hint" belongs to the hint.
    key("Hint", field.hint);
    out.append("    }\n");
}

}  // namespace

std::string SpecificationText(std::string_view text) {
    // "//" starts a comment anywhere in a line: a web address loses its scheme, any other pair
    // of slashes gets a blank between them. One pass, so a text of slashes stays linear.
    std::string out;
    out.reserve(text.size() + text.size() / 2);
    for (std::size_t i = 0; i < text.size(); ++i) {
        const auto byte = static_cast<unsigned char>(text[i]);
        const char c = byte < 32 || byte == 127 ? ' ' : text[i];
        if (c != '/' || i + 1 >= text.size() || text[i + 1] != '/') {
            out.push_back(c);
            continue;
        }
        std::size_t scheme = out.size();
        if (scheme > 0 && out[scheme - 1] == ':') {
            --scheme;
            while (scheme > 0 && IsWordChar(out[scheme - 1])) {
                --scheme;
            }
        }
        if (scheme + 1 < out.size()) {
            out.resize(scheme);  // "https://" goes; what follows stays
            ++i;
        } else {
            out.append("/ ");
        }
    }
    return Trim(out);
}

std::string ProgramNameFor(std::string_view tool) {
    std::string name;
    for (char c : tool) {
        name.push_back(IsWordChar(c) || c == '.' || c == '-' || c == '_' ? c : '_');
    }
    return name.empty() ? std::string("Tool") : name;
}

namespace {

// A whole word of the usage, in any case, that is not inside "[...]" on its own ("[outfile]"
// is optional) nor part of an option ("--output").
bool UsageNeeds(std::string_view usage, std::string_view word) {
    for (std::size_t at = FindNoCase(usage, word); at != std::string_view::npos;
         at = FindNoCase(usage, word, at + 1)) {
        const char before = at == 0 ? ' ' : usage[at - 1];
        const std::size_t end = at + word.size();
        const char after = end < usage.size() ? usage[end] : ' ';
        if ((before == ' ' || before == '{' || before == '<') && !IsWordChar(after) &&
            after != '-') {
            return true;
        }
    }
    return false;
}

// "-i infile", "-i INPUT": the tool reads its input through -i.
bool UsageReadsThroughDashI(std::string_view usage) {
    for (std::size_t at = usage.find("-i "); at != std::string_view::npos;
         at = usage.find("-i ", at + 1)) {
        if ((at == 0 || usage[at - 1] == ' ' || usage[at - 1] == '[') &&
            EqualsNoCase(usage.substr(at + 3, std::min<std::size_t>(2, usage.size() - at - 3)),
                         "in")) {
            return true;
        }
    }
    return false;
}

}  // namespace

std::string RunLine(const HelpText& help, const std::string& program) {
    std::string line = "\"$ClassEXE=" + program + "\" $ClassParam=" + program + " ";
    if (UsageReadsThroughDashI(help.usage)) {
        line += "-i ";
    }
    line += "\"$FilePath/$FileName.$FileExt\"";
    if (UsageNeeds(help.usage, "outfile") || UsageNeeds(help.usage, "output")) {
        line += " \"$FilePath/$FileName-out.$FileExt\"";
    }
    return line + " >> \"$FilePath/$FileName.log\" 2>&1";
}

std::vector<DraftField> PlanFields(const HelpText& help) {
    std::vector<DraftField> fields;
    CaptionSet captions;
    for (const HelpSection& section : help.sections) {
        std::vector<DraftField> sectionFields;
        for (const HelpOption& option : section.options) {
            if (PrintsAndExits(option)) {
                continue;
            }
            DraftField field = FieldFor(option);
            field.caption = captions.Unique(SpecificationText(field.caption));
            sectionFields.push_back(std::move(field));
        }
        if (sectionFields.empty()) {
            continue;
        }
        const std::string heading = SpecificationText(section.heading);
        if (!heading.empty()) {
            DraftField label;
            label.kind = DraftKind::Label;
            label.caption = heading;
            fields.push_back(std::move(label));
        }
        std::move(sectionFields.begin(), sectionFields.end(), std::back_inserter(fields));
    }
    return fields;
}

Draft WriteDraft(const HelpText& help, const DraftSource& source) {
    Draft draft;
    const std::string name = SpecificationText(source.name);
    const std::string& program = source.program;
    std::string& out = draft.specification;
    out += "// Drafted by kestrune-cli new from the help of " +
           SpecificationText(source.executable) +
           ".\n// Keep the options you use, give them better captions, and check each Param.\n";
    out += "Setup = " + name + "\n{\n";
    out += "    Program = " + name + "\n";
    out += "    Filter = All Files (*)|*\n";
    out += "    Layout:\n";
    out +=
        "    echo \"Kestrune $Version: $FileName.$FileExt, $DateTime\" > "
        "\"$FilePath/$FileName.log\"\n";
    out += "    " + RunLine(help, program) + "\n";
    out += "    cat \"$FilePath/$FileName.log\"\n";
    out += "}\n\n";
    out += "Group = " + program + "\n{\n";
    out += "    Name = " + name + "\n";
    out += "    RequireExe = true\n";
    out += "    ExeFilter = All Files (*)|*\n";
    for (const DraftField& field : PlanFields(help)) {
        WriteField(out, field);
        if (field.kind != DraftKind::Label) {
            ++draft.fieldCount;
        }
    }
    out += "}\n";
    draft.toolPaths =
        "BasePath = \r\nFileDest = \r\n" + program + " = " + source.executable + "\r\n";
    return draft;
}

}  // namespace kestrune
