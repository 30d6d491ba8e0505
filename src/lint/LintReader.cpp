// The lint's reading of a specification file. It follows the specification reader's grammar
// line for line, stopping where that stops, so the syntax errors it reports are the reader's,
// and looks at what the reader passes over in silence.

#include <algorithm>
#include <cctype>
#include <cstdint>
#include <string>
#include <string_view>

#include "base/LineReader.h"
#include "base/Text.h"
#include "fields/ShellQuoting.h"
#include "lint/LintModel.h"
#include "lint/LintText.h"
#include "specification/ElementBlocks.h"
#include "specification/SpecReader.h"

namespace kestrune::lint {

namespace {

constexpr std::size_t npos = std::string_view::npos;

// The lower bounds an edit box gets when its "min" is missing or unreadable, and the upper
// bounds without "max" and with an unreadable one, as the reader sets them.
constexpr double kDefaultMinimum = 4.9406564584124654e-324;
constexpr double kDefaultMaximum = 1.7e308;
constexpr double kUnreadableMaximum = 1.7e38;

struct Line {
    int number = 0;
    std::string raw;
    std::size_t comment = npos;  // where "//" starts, if anywhere
    std::string_view text;       // comment cut and trimmed: what the reader sees
    std::size_t textStart = 0;

    int Column(std::size_t offset) const { return static_cast<int>(offset) + 1; }
    Place At(std::size_t offset) const { return {number, Column(offset)}; }
    Place Start() const { return At(textStart); }
};

class Lines {
  public:
    explicit Lines(std::string_view bytes) : reader_(bytes) {}

    bool Next(Line& line) {
        if (!reader_.Next(line.raw)) {
            return false;
        }
        ++number_;
        line.number = number_;
        std::string_view raw = line.raw;
        line.comment = raw.find("//");
        const std::string_view kept = raw.substr(0, line.comment);
        line.text = TrimView(kept);
        line.textStart =
            line.text.empty() ? 0 : static_cast<std::size_t>(line.text.data() - raw.data());
        return true;
    }

    bool NextNonEmpty(Line& line) {
        while (Next(line)) {
            if (!line.text.empty()) {
                return true;
            }
        }
        return false;
    }

  private:
    LineReader reader_;
    int number_ = 0;
};

struct KeyLine {
    std::string key;  // folded to lower case
    std::string_view value;
    Place keyAt;
    Place valueAt;
};

bool SplitLine(const Line& line, KeyLine& split) {
    const std::size_t equals = line.text.find('=');
    if (equals == npos) {
        return false;
    }
    split.key = LowerAscii(TrimView(line.text.substr(0, equals)));
    split.value = TrimView(line.text.substr(equals + 1));
    split.keyAt = line.Start();
    const std::size_t afterEquals = line.textStart + equals + 1;
    split.valueAt = split.value.empty()
                        ? line.At(afterEquals)
                        : line.At(static_cast<std::size_t>(split.value.data() - line.raw.data()));
    return true;
}

// Where a cut piece of text goes, which decides what the author can write instead.
enum class CutContext { Value, ShellValue, Hint, Layout };

struct KeySpelling {
    std::string_view lower;
    std::string_view written;
};

constexpr KeySpelling kSetupKeys[] = {
    {"author", "Author"}, {"program", "Program"}, {"filter", "Filter"}, {"link", "Link"}};
constexpr KeySpelling kGroupKeys[] = {{"name", "Name"},           {"requireexe", "RequireExe"},
                                      {"exefilter", "ExeFilter"}, {"labelbox", "LabelBox"},
                                      {"checkbox", "CheckBox"},   {"editbox", "EditBox"},
                                      {"combobox", "ComboBox"},   {"browsebox", "BrowseBox"},
                                      {"colorbox", "ColorBox"},   {"spaces", "Spaces"}};
constexpr KeySpelling kCommonKeys[] = {{"param", "Param"},
                                       {"groups", "Groups"},
                                       {"bold", "Bold"},
                                       {"width", "Width"},
                                       {"hint", "Hint"}};
constexpr KeySpelling kCheckKeys[] = {{"batchcommand", "BatchCommand"}};
constexpr KeySpelling kEditKeys[] = {{"type", "Type"},
                                     {"default", "Default"},
                                     {"roundto", "RoundTo"},
                                     {"min", "Min"},
                                     {"max", "Max"}};
constexpr KeySpelling kComboKeys[] = {{"default", "Default"}, {"options", "Options"}};
constexpr KeySpelling kBrowseKeys[] = {{"filter", "Filter"}, {"type", "Type"}};
constexpr KeySpelling kColorKeys[] = {{"color", "Color"}};

template <std::size_t N>
void Append(std::vector<KeySpelling>& keys, const KeySpelling (&more)[N]) {
    keys.insert(keys.end(), more, more + N);
}

std::vector<KeySpelling> ElementKeys(FieldKind kind) {
    std::vector<KeySpelling> keys;
    Append(keys, kCommonKeys);
    switch (kind) {
        case FieldKind::Check:
            Append(keys, kCheckKeys);
            break;
        case FieldKind::Edit:
            Append(keys, kEditKeys);
            break;
        case FieldKind::Combo:
            Append(keys, kComboKeys);
            break;
        case FieldKind::Browse:
            Append(keys, kBrowseKeys);
            break;
        case FieldKind::Color:
            Append(keys, kColorKeys);
            break;
        case FieldKind::Label:
        case FieldKind::Spaces:
            break;
    }
    return keys;
}

template <typename Keys>
bool HasKey(const Keys& keys, std::string_view key) {
    for (const KeySpelling& known : keys) {
        if (known.lower == key) {
            return true;
        }
    }
    return false;
}

template <typename Keys>
std::string_view ClosestKey(const Keys& keys, std::string_view key) {
    std::vector<std::string_view> written;
    written.reserve(std::size(keys));
    for (const KeySpelling& known : keys) {
        written.push_back(known.written);
    }
    return ClosestIn(key, written);
}

bool ElementKindOf(std::string_view key, FieldKind& kind) {
    static constexpr std::pair<std::string_view, FieldKind> kKinds[] = {
        {"labelbox", FieldKind::Label}, {"spaces", FieldKind::Spaces},
        {"checkbox", FieldKind::Check}, {"editbox", FieldKind::Edit},
        {"combobox", FieldKind::Combo}, {"browsebox", FieldKind::Browse},
        {"colorbox", FieldKind::Color}};
    for (const auto& [name, value] : kKinds) {
        if (name == key) {
            kind = value;
            return true;
        }
    }
    return false;
}

constexpr std::string_view kFileVariables[] = {"$BasePath", "$FilePath", "$FileExt", "$FileName",
                                               "$FileDest"};

bool HoldsFileVariable(std::string_view text) {
    for (std::string_view variable : kFileVariables) {
        if (FindNoCase(text, variable) != npos) {
            return true;
        }
    }
    return false;
}

// What a field collects while its block is read, beyond what the document keeps.
struct OpenField {
    Field field;
    bool batchCommand = false;
    bool paramSeen = false;
    std::string_view defaultText;  // combo box
    Place defaultAt;
    std::string optionText;
    bool minSet = false;
    bool maxSet = false;
    double minimum = kDefaultMinimum;
    double maximum = kDefaultMaximum;
    Place minAt;
    Place maxAt;
    std::string defaultCopy;
};

class Reader {
  public:
    Reader(std::string_view bytes, Document& document, Findings& findings)
        : lines_(bytes), document_(document), findings_(findings) {}

    void Read() {
        if (!ReadSetup()) {
            return;
        }
        while (!endOfFile_) {
            if (!ReadGroup()) {
                return;
            }
        }
    }

  private:
    // A syntax error ends the reading, as it ends the specification reader's.
    bool SyntaxError(const std::string& message) {
        const std::size_t end = message.find('\r');
        findings_.Add({line_.number, line_.text.empty() ? 1 : line_.Column(line_.textStart)},
                      LintSeverity::Error, "syntax-error", message.substr(0, end));
        document_.stoppedAtError = true;
        return false;
    }

    bool Expected(std::string_view what) {
        return SyntaxError(ExpectedMessage(what, line_.text, line_.number));
    }

    bool Split(KeyLine& split) {
        if (!SplitLine(line_, split)) {
            return Expected("=");
        }
        const std::size_t valueStart = static_cast<std::size_t>(split.valueAt.column - 1);
        if (split.key == "hint") {
            CheckCut(CutContext::Hint, valueStart);
        } else if (split.key == "param" || split.key == "options") {
            CheckCut(CutContext::ShellValue, valueStart);
        } else if (split.key != "link") {  // the link rule says it better
            CheckCut(CutContext::Value, valueStart);
        }
        return true;
    }

    void Unclosed(Place at, const std::string& what, std::string_view consequence) {
        findings_.Add(
            at, LintSeverity::Error, "unclosed-block",
            what + " is never closed: the file ends before its \"}\"" + std::string(consequence),
            "}");
    }

    // A "//" that cuts a word or a quoted text in two was meant as text, not as a comment.
    // `start` is where the text that the cut shortens begins: the line, or a key line's value.
    void CheckCut(CutContext context, std::size_t start) {
        if (line_.comment == npos || line_.text.empty() || start > line_.comment) {
            return;
        }
        const std::string_view raw = line_.raw;
        const std::string_view kept = raw.substr(start, line_.comment - start);
        const std::string_view whole = TrimView(raw.substr(start));
        const std::string_view lost = TrimView(raw.substr(line_.comment));
        const bool midWord = static_cast<unsigned char>(raw[line_.comment - 1]) > 32;

        ShellReader cutReader;
        cutReader.Read(kept);
        const ShellContext atCut = cutReader.Here();
        const bool quoteLeftOpen = [&] {
            if (atCut.quote == ShellContext::Quote::None || atCut.comment) {
                return false;
            }
            ShellReader wholeReader;
            wholeReader.Read(whole);
            return wholeReader.Here().quote == ShellContext::Quote::None;
        }();
        if (!midWord && !quoteLeftOpen) {
            return;
        }
        if (context == CutContext::Layout && atCut.comment) {
            return;
        }
        // "https:" before the slashes: the address reads the same without its scheme.
        std::size_t schemeStart = line_.comment - 1;
        while (schemeStart > start &&
               (std::isalpha(static_cast<unsigned char>(raw[schemeStart - 1])) != 0)) {
            --schemeStart;
        }
        const bool scheme = raw[line_.comment - 1] == ':' && schemeStart + 1 < line_.comment;
        std::string suggestion;
        std::string advice;
        if (scheme && (context == CutContext::Value || context == CutContext::Hint)) {
            suggestion = std::string(raw.substr(start, schemeStart - start)) +
                         std::string(TrimView(raw.substr(line_.comment + 2)));
            advice = "; write the address without its scheme";
        } else if (context == CutContext::Layout || context == CutContext::ShellValue) {
            std::string_view split = atCut.quote == ShellContext::Quote::Single ? "/''/" : "/\"\"/";
            std::string_view shell = "the shell";
            if (atCut.shell == ScriptShell::Cmd) {
                // cmd.exe keeps quotes in the text and drops a caret outside quotes only; inside
                // them the quote is closed around the caret.
                split = atCut.quote == ShellContext::Quote::Double ? "/\"^/\"/" : "/^/";
                shell = "cmd.exe";
            }
            suggestion =
                std::string(kept) + std::string(split) + std::string(raw.substr(line_.comment + 2));
            suggestion = std::string(TrimView(suggestion));
            advice = "; write the slashes as " + std::string(split) + ", which " +
                     std::string(shell) + " reads as \"//\"";
        } else {
            advice = "; a value cannot hold \"//\"";
        }
        const std::string what = context == CutContext::Layout ? "the layout line"
                                 : context == CutContext::Hint ? "the hint"
                                                               : "the value";
        // cmd.exe ends a quote with the line, so only /bin/sh fails on one left open.
        if (context == CutContext::Layout && quoteLeftOpen && atCut.shell == ScriptShell::Posix) {
            findings_.Add(line_.At(line_.comment), LintSeverity::Error, "comment-cuts-line",
                          "\"//\" starts a comment: " + what + " loses " + Quote(lost) +
                              " and ends inside a quote, so the shell fails on it" + advice,
                          suggestion);
            return;
        }
        findings_.Add(line_.At(line_.comment), LintSeverity::Warning,
                      context == CutContext::Layout ? "comment-cuts-line" : "comment-cuts-value",
                      "\"//\" starts a comment: " + what + " loses " + Quote(lost) + advice,
                      suggestion);
    }

    template <typename Keys>
    void UnknownKey(const KeyLine& split, const Keys& keys, const std::string& block) {
        const std::string_view closest = ClosestKey(keys, split.key);
        std::string message = "unknown key " +
                              Quote(TrimView(line_.text.substr(0, line_.text.find('=')))) + " in " +
                              block + ": it is ignored";
        if (!closest.empty()) {
            message += " (did you mean " + Quote(closest) + "?)";
        }
        findings_.Add(split.keyAt, LintSeverity::Warning, "unknown-key", std::move(message),
                      std::string(closest));
    }

    void FlagValue(const KeyLine& split, std::string_view written, std::string_view outcome) {
        const std::string lower = LowerAscii(split.value);
        if (lower == "true" || lower == "false") {
            return;
        }
        const std::string_view closest = Closest(split.value, {"true", "false"});
        findings_.Add(split.valueAt, LintSeverity::Warning, "invalid-value",
                      std::string(written) + " " + Quote(split.value) +
                          " is neither true nor false: " + std::string(outcome),
                      std::string(closest));
    }

    void IntegerValue(const KeyLine& split, std::string_view written, std::string_view outcome) {
        if (!ParseInteger(split.value)) {
            findings_.Add(split.valueAt, LintSeverity::Warning, "invalid-value",
                          std::string(written) + " " + Quote(split.value) +
                              " is not a whole number: " + std::string(outcome));
        }
    }

    // How the start of a block went: its header and its "{" are read, the file ended (which
    // ends the reading without an error), or a syntax error.
    enum class Opening { Open, Ended, Failed };
    struct OpenedBlock {
        Opening opening = Opening::Failed;
        Place header;
        std::string title;  // "the Setup block", for messages
    };

    // The next block's header line `Key = value` (`key` lower-cased, `written` as a message
    // names it), then its "{" on the line after. `named` takes the header line and gives the
    // block's title.
    template <typename Named>
    OpenedBlock OpenBlock(std::string_view key, std::string_view written, Named&& named) {
        OpenedBlock block;
        KeyLine split;
        if (!lines_.NextNonEmpty(line_)) {
            endOfFile_ = true;
            block.opening = Opening::Ended;
            return block;
        }
        if (!Split(split)) {
            return block;
        }
        if (split.key != key) {
            Expected(written);
            return block;
        }
        block.header = split.keyAt;
        block.title = named(split);
        if (!lines_.Next(line_)) {
            Unclosed(block.header, block.title, "");
            endOfFile_ = true;
            block.opening = Opening::Ended;
            return block;
        }
        if (line_.text != "{") {
            Expected("{");
            return block;
        }
        block.opening = Opening::Open;
        return block;
    }

    bool ReadSetup() {
        const OpenedBlock block = OpenBlock(
            "setup", "Setup", [](const KeyLine&) { return std::string("the Setup block"); });
        if (block.opening != Opening::Open) {
            return block.opening == Opening::Ended;
        }
        KeyLine split;
        bool inLayout = false;
        while (lines_.NextNonEmpty(line_)) {
            if (line_.text == "}") {
                return true;
            }
            if (inLayout) {
                CheckCut(CutContext::Layout, line_.textStart);
                CheckKeyInLayout();
                document_.layout.push_back({std::string(line_.text), line_.Start()});
                continue;
            }
            if (EqualsNoCase(line_.text, "layout:")) {
                inLayout = true;
                continue;
            }
            if (!Split(split)) {
                return false;
            }
            if (split.key == "link") {
                CheckLink(split);
            } else if (!HasKey(kSetupKeys, split.key)) {
                UnknownKey(split, kSetupKeys, "the Setup block");
            }
        }
        Unclosed(block.header, block.title,
                 inLayout ? ", so every line after Layout: is a layout line" : "");
        endOfFile_ = true;
        return true;
    }

    void CheckLink(const KeyLine& split) {
        // The reader adds "http://" itself; the scheme's "//" would start a comment.
        const std::string_view whole = TrimView(std::string_view(line_.raw).substr(
            static_cast<std::size_t>(split.value.data() - line_.raw.data())));
        const std::size_t scheme = whole.find("://");
        const std::size_t bar = whole.find('|');
        if (scheme != npos && (bar == npos || scheme < bar)) {
            std::string withoutScheme(whole.substr(scheme + 3));
            findings_.Add(split.valueAt, LintSeverity::Warning, "link-scheme",
                          "write the Link without its scheme " +
                              Quote(whole.substr(0, scheme + 3)) +
                              ": \"//\" starts a comment, and \"http://\" is put before the "
                              "address",
                          withoutScheme);
        } else if (bar == npos) {
            findings_.Add(split.valueAt, LintSeverity::Warning, "invalid-value",
                          "a Link needs an address, \"|\" and a caption: without \"|\" it adds "
                          "no entry to the Links menu");
        }
    }

    void CheckKeyInLayout() {
        const std::size_t equals = line_.text.find('=');
        if (equals == npos) {
            return;
        }
        const std::string_view written = TrimView(line_.text.substr(0, equals));
        const std::string key = LowerAscii(written);
        // "name=x" and "NAME=x" are the shell's assignments; keys are written "Name = x" or
        // "Name=x".
        const bool blanks = written.size() != equals ||
                            (equals + 1 < line_.text.size() && line_.text[equals + 1] == ' ');
        const bool mixedCase =
            key != written && std::any_of(written.begin(), written.end(),
                                          [](char c) { return c >= 'a' && c <= 'z'; });
        if (!blanks && !mixedCase) {
            return;
        }
        if (key == "group" || key == "setup") {
            findings_.Add(line_.Start(), LintSeverity::Warning, "key-in-layout",
                          Quote(line_.text) +
                              " is read as a layout line: the \"}\" that ends the Setup block "
                              "is missing above it");
        } else if (HasKey(kSetupKeys, key) || HasKey(kGroupKeys, key)) {
            findings_.Add(line_.Start(), LintSeverity::Warning, "key-in-layout",
                          Quote(line_.text) +
                              " after Layout: is a layout line, not a key; move it above "
                              "Layout:");
        }
    }

    bool ReadGroup() {
        const OpenedBlock block = OpenBlock("group", "Group", [this](const KeyLine& split) {
            Program& program = document_.groups.emplace_back();
            program.name = std::string(split.value);
            program.lowerName = LowerAscii(program.name);
            program.at = split.keyAt;
            return "the Group block " + Quote(split.value);
        });
        if (block.opening != Opening::Open) {
            return block.opening == Opening::Ended;
        }
        const std::size_t index = document_.groups.size() - 1;
        const std::string& title = block.title;
        KeyLine split;
        while (lines_.NextNonEmpty(line_)) {
            if (line_.text == "}") {
                return true;
            }
            if (!Split(split)) {
                return false;
            }
            Program& program = document_.groups[index];
            FieldKind kind = FieldKind::Label;
            if (ElementKindOf(split.key, kind)) {
                program.created = true;
                const ElementEnd end = ReadElement(index, kind, split);
                if (end == ElementEnd::Error) {
                    return false;
                }
                if (end == ElementEnd::EndOfFile) {
                    endOfFile_ = true;
                    return true;
                }
            } else if (split.key == "name" || split.key == "requireexe" ||
                       split.key == "exefilter") {
                if (split.key == "requireexe" && !program.created) {
                    FlagValue(split, "RequireExe", "the program is not a stage");
                }
                if (program.created) {
                    findings_.Add(split.keyAt, LintSeverity::Warning, "late-group-key",
                                  Quote(TrimView(line_.text.substr(0, line_.text.find('=')))) +
                                      " after the block's first field line has no effect; move "
                                      "it above the field lines");
                } else if (split.key == "requireexe") {
                    program.requireExe = IsTrueFlag(split.value);
                }
            } else if (split.key == "group") {
                findings_.Add(split.keyAt, LintSeverity::Warning, "unknown-key",
                              "a Group line inside " + title +
                                  " is ignored: the \"}\" that ends that block is missing above it",
                              "}");
            } else {
                UnknownKey(split, kGroupKeys, "a Group block");
            }
        }
        Unclosed(block.header, title, "");
        endOfFile_ = true;
        return true;
    }

    enum class ElementEnd { Added, EndOfFile, Error };

    ElementEnd ReadElement(std::size_t program, FieldKind kind, const KeyLine& header) {
        OpenField open;
        Field& field = open.field;
        field.kind = kind;
        field.caption = std::string(header.value);
        field.at = header.keyAt;
        if (kind == FieldKind::Label) {
            field.added = true;
            document_.groups[program].fields.push_back(std::move(field));
            return ElementEnd::Added;
        }
        if (kind == FieldKind::Spaces) {
            IntegerValue(header, "Spaces", "it adds no rows");
            return ElementEnd::Added;
        }
        const std::string title =
            "the " + std::string(KindName(kind)) + " block " + Quote(header.value);
        if (!lines_.Next(line_)) {
            Unclosed(header.keyAt, title, ", so the field does not exist");
            return ElementEnd::EndOfFile;
        }
        if (line_.text != "{") {
            Expected("{");
            return ElementEnd::Error;
        }
        KeyLine split;
        while (lines_.NextNonEmpty(line_)) {
            if (line_.text == "}") {
                AddField(program, open);
                return ElementEnd::Added;
            }
            if (!Split(split)) {
                return ElementEnd::Error;
            }
            if (split.key == "hint") {
                return ReadHint(program, open, title);
            }
            ApplyKey(open, split, title);
        }
        Unclosed(header.keyAt, title, ", so the field does not exist");
        return ElementEnd::EndOfFile;
    }

    ElementEnd ReadHint(std::size_t program, OpenField& open, const std::string& title) {
        const std::vector<KeySpelling> keys = ElementKeys(open.field.kind);
        while (lines_.NextNonEmpty(line_)) {
            if (line_.text == "{") {
                SyntaxError(UnexpectedObjectMessage(line_.number));
                return ElementEnd::Error;
            }
            if (line_.text == "}") {
                AddField(program, open);
                return ElementEnd::Added;
            }
            CheckCut(CutContext::Hint, line_.textStart);
            const std::size_t equals = line_.text.find('=');
            if (equals != npos &&
                HasKey(keys, LowerAscii(TrimView(line_.text.substr(0, equals))))) {
                findings_.Add(line_.Start(), LintSeverity::Warning, "key-after-hint",
                              Quote(line_.text) +
                                  " after Hint is a line of the help text, not a key; put Hint "
                                  "last in the block");
            }
        }
        Unclosed(open.field.at, title, ", so the field does not exist");
        return ElementEnd::EndOfFile;
    }

    void ApplyKey(OpenField& open, const KeyLine& split, const std::string& title) {
        Field& field = open.field;
        const std::string& key = split.key;
        if (key == "param") {
            if (field.kind == FieldKind::Check && open.paramSeen && !open.batchCommand) {
                findings_.Add(split.keyAt, LintSeverity::Warning, "param-ignored",
                              "a second Param of a CheckBox is ignored unless \"BatchCommand = "
                              "true\" comes before it");
            } else if (field.kind == FieldKind::Check && open.paramSeen) {
                field.param.append("\n").append(split.value);
            } else {
                field.param = std::string(split.value);
            }
            open.paramSeen = true;
            CheckVariableTypos(split.value, split.valueAt, findings_);
        } else if (key == "groups") {
            field.groups.clear();
            field.groupsAt = split.valueAt;
            std::string_view rest = split.value;
            while (!TrimView(rest).empty()) {
                const std::size_t comma = rest.find(',');
                field.groups.push_back(LowerAscii(TrimView(rest.substr(0, comma))));
                rest = comma == npos ? std::string_view() : rest.substr(comma + 1);
            }
        } else if (key == "bold") {
            FlagValue(split, "Bold", "the caption is not bold");
        } else if (key == "width") {
            const auto width = ParseInteger(split.value);
            if (!width) {
                IntegerValue(split, "Width", "the field is 1 column wide");
            } else if (*width < 1) {
                findings_.Add(
                    split.valueAt, LintSeverity::Warning, "invalid-value",
                    "Width " + Quote(split.value) + " is below 1: the field is 1 column wide");
            }
        } else if (field.kind == FieldKind::Check && key == "batchcommand") {
            FlagValue(split, "BatchCommand", "the switch is not a line of its own");
            open.batchCommand = open.batchCommand || IsTrueFlag(split.value);
        } else if (field.kind == FieldKind::Edit && HasKey(kEditKeys, key)) {
            ApplyEditKey(open, split);
        } else if (field.kind == FieldKind::Combo && key == "default") {
            open.defaultCopy = std::string(split.value);
            open.defaultAt = split.valueAt;
        } else if (field.kind == FieldKind::Combo && key == "options") {
            open.optionText = std::string(split.value);
            CheckOptions(split);
            CheckVariableTypos(split.value, split.valueAt, findings_);
        } else if (field.kind == FieldKind::Browse && key == "type") {
            const std::string type = LowerAscii(split.value);
            if (type != "file" && type != "path" && type != "name") {
                std::string_view closest = Closest(type, {"file", "path", "name"});
                if (closest.empty() && (type == "folder" || type == "dir" || type == "directory")) {
                    closest = "path";
                }
                findings_.Add(split.valueAt, LintSeverity::Warning, "invalid-value",
                              "unknown Type " + Quote(split.value) +
                                  " of a BrowseBox: it chooses a file (Type = file); the types are "
                                  "file, path and name",
                              std::string(closest));
            }
        } else if (field.kind == FieldKind::Browse && key == "filter") {
        } else if (field.kind == FieldKind::Color && key == "color") {
            CheckColor(split);
        } else {
            FieldKind nested = FieldKind::Label;
            if (ElementKindOf(key, nested)) {
                findings_.Add(split.keyAt, LintSeverity::Warning, "unknown-key",
                              "an element line inside " + title +
                                  " is ignored: the \"}\" that ends that block is missing above it",
                              "}");
            } else {
                UnknownKey(split, ElementKeys(field.kind),
                           "a " + std::string(KindName(field.kind)) + " block");
            }
        }
    }

    void ApplyEditKey(OpenField& open, const KeyLine& split) {
        const std::string& key = split.key;
        if (key == "type") {
            const std::string type = LowerAscii(split.value);
            if (type != "float" && type != "int" && type != "string") {
                std::string_view closest = Closest(type, {"int", "float", "string"});
                if (closest.empty() && type.starts_with("int")) {
                    closest = "int";
                } else if (closest.empty() &&
                           (type == "double" || type == "real" || type == "number")) {
                    closest = "float";
                } else if (closest.empty() && type == "text") {
                    closest = "string";
                }
                findings_.Add(split.valueAt, LintSeverity::Warning, "invalid-value",
                              "unknown Type " + Quote(split.value) +
                                  " of an EditBox: it takes free text (Type = string); the types "
                                  "are string, int and float",
                              std::string(closest));
            }
        } else if (key == "roundto") {
            IntegerValue(split, "RoundTo", "numbers are rounded to whole numbers (RoundTo = 0)");
        } else if (key == "min") {
            const auto value = ParseReal(split.value);
            if (!value) {
                findings_.Add(split.valueAt, LintSeverity::Warning, "invalid-value",
                              "Min " + Quote(split.value) +
                                  " is not a number: the lowest value is the smallest positive "
                                  "number, so negative entries become 0");
            }
            open.minSet = true;
            open.minimum = value.value_or(kDefaultMinimum);
            open.minAt = split.valueAt;
        } else if (key == "max") {
            const auto value = ParseReal(split.value);
            if (!value) {
                findings_.Add(
                    split.valueAt, LintSeverity::Warning, "invalid-value",
                    "Max " + Quote(split.value) + " is not a number: the highest value is 1.7e38");
            }
            open.maxSet = true;
            open.maximum = value.value_or(kUnreadableMaximum);
            open.maxAt = split.valueAt;
        }
    }

    void CheckOptions(const KeyLine& split) {
        const std::string_view text = split.value;
        std::size_t start = 0;
        while (start <= text.size()) {
            const std::size_t bar = text.find('|', start);
            const std::string_view part = text.substr(start, bar == npos ? npos : bar - start);
            if (!TrimView(part).empty() && part.find(',') == npos) {
                const std::size_t nextComma = bar == npos ? npos : text.find(',', bar);
                std::string outcome =
                    nextComma == npos ? "it adds no option"
                                      : "it becomes part of the option named " +
                                            Quote(TrimView(text.substr(start, nextComma - start)));
                const std::size_t offset =
                    static_cast<std::size_t>(split.value.data() - line_.raw.data()) + start +
                    static_cast<std::size_t>(TrimView(part).data() - part.data());
                findings_.Add(line_.At(offset), LintSeverity::Warning, "option-without-comma",
                              "the option " + Quote(TrimView(part)) +
                                  " has no comma between its name and its value: " + outcome);
                return;  // the first one explains the rest
            }
            if (bar == npos) {
                break;
            }
            start = bar + 1;
        }
    }

    void CheckColor(const KeyLine& split) {
        const std::string_view text = split.value;
        int parts = 0;
        bool sound = !text.empty();
        std::size_t start = 0;
        while (sound && start <= text.size()) {
            const std::size_t blank = text.find(' ', start);
            const std::string_view part = text.substr(start, blank == npos ? npos : blank - start);
            const auto number = ParseInteger(part);
            sound = number && *number >= 0 && *number <= 255 && part.front() != '$';
            ++parts;
            if (blank == npos) {
                break;
            }
            start = blank + 1;
        }
        if (sound && parts == 3) {
            return;
        }
        const std::uint32_t color = ParseColorText(text);
        findings_.Add(split.valueAt, LintSeverity::Warning, "invalid-value",
                      "Color " + Quote(text) +
                          " is not three numbers from 0 to 255 with one blank between them "
                          "(blue, green, red): the colour becomes red " +
                          std::to_string(color & 0xFFu) + ", green " +
                          std::to_string((color >> 8) & 0xFFu) + ", blue " +
                          std::to_string((color >> 16) & 0xFFu));
    }

    void AddField(std::size_t program, OpenField& open) {
        Field& field = open.field;
        field.added = true;
        if (field.kind == FieldKind::Browse) {
            field.carriesNames = true;
        } else {
            field.carriesNames =
                HoldsFileVariable(field.param) || HoldsFileVariable(open.optionText);
        }
        if (field.kind == FieldKind::Combo && !open.defaultCopy.empty() &&
            !open.optionText.empty()) {
            CheckComboDefault(open);
        }
        if (field.kind == FieldKind::Edit && (open.minSet || open.maxSet) &&
            open.minimum > open.maximum) {
            if (open.minSet) {
                findings_.Add(open.minAt, LintSeverity::Warning, "min-above-max",
                              "Min " + FormatReal(open.minimum) + " is above Max " +
                                  FormatReal(open.maximum) + ": every number typed becomes " +
                                  FormatReal(open.maximum));
            } else {
                findings_.Add(open.maxAt, LintSeverity::Warning, "min-above-max",
                              "Max " + FormatReal(open.maximum) +
                                  " is below the lowest value without Min, the smallest positive "
                                  "number: give a Min");
            }
        }
        document_.groups[program].fields.push_back(std::move(field));
    }

    // The option names as the reader splits the option text.
    void CheckComboDefault(const OpenField& open) {
        const std::string_view text = open.optionText;
        std::vector<std::string_view> names;
        std::size_t start = 0;
        std::size_t comma = text.find(',');
        std::size_t bar = text.find('|');
        while (start < text.size()) {
            if (comma != npos && comma < start) {
                comma = text.find(',', start);
            }
            if (comma == npos) {
                break;
            }
            const std::string_view name = TrimView(text.substr(start, comma - start));
            if (name.size() == open.defaultCopy.size() && EqualsNoCase(name, open.defaultCopy)) {
                return;
            }
            if (names.size() < 64) {
                names.push_back(name);
            }
            if (bar != npos && bar < start) {
                bar = text.find('|', start);
            }
            if (bar == npos) {
                break;
            }
            start = bar + 1;
        }
        const std::string_view closest = ClosestIn(open.defaultCopy, names);
        findings_.Add(
            open.defaultAt, LintSeverity::Warning, "default-not-option",
            "Default " + Quote(open.defaultCopy) +
                " is none of the options' names: the box starts with a text that puts "
                "nothing on the command line" +
                (closest.empty() ? std::string() : " (did you mean " + Quote(closest) + "?)"),
            std::string(closest));
    }

    Lines lines_;
    Document& document_;
    Findings& findings_;
    Line line_;
    bool endOfFile_ = false;
};

}  // namespace

std::string_view KindName(FieldKind kind) {
    switch (kind) {
        case FieldKind::Label:
            return "LabelBox";
        case FieldKind::Spaces:
            return "Spaces";
        case FieldKind::Check:
            return "CheckBox";
        case FieldKind::Edit:
            return "EditBox";
        case FieldKind::Combo:
            return "ComboBox";
        case FieldKind::Browse:
            return "BrowseBox";
        case FieldKind::Color:
            return "ColorBox";
    }
    return "";
}

void ReadDocument(std::string_view bytes, Document& document, Findings& findings) {
    Reader(bytes, document, findings).Read();
}

}  // namespace kestrune::lint
