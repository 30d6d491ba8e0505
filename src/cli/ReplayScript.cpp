// Reading a replay script: its words, its steps and their arguments, all checked before the
// first step runs.

#include <charconv>

#include "Replay.h"
#include "base/Color.h"
#include "base/Result.h"
#include "base/Text.h"

namespace kestrune::cli {

namespace {

bool IsBlank(char c) {
    return c == ' ' || c == '\t';
}

std::optional<int> WholeNumber(const std::string& word) {
    int value = 0;
    const char* end = word.data() + word.size();
    const auto [stop, error] = std::from_chars(word.data(), end, value);
    if (word.empty() || error != std::errc() || stop != end) {
        return std::nullopt;
    }
    return value;
}

// Reads a number argument into `target`.
Result<void> Number(const std::string& word, int& target) {
    if (const std::optional<int> value = WholeNumber(word)) {
        target = *value;
        return {};
    }
    return Failure{"\"" + word + "\" is not a whole number"};
}

struct StepForm {
    std::string_view verb;
    StepKind kind;
    std::size_t minArguments;
    std::size_t maxArguments;
    std::string_view usage;
};

constexpr std::size_t kAny = static_cast<std::size_t>(-1);

constexpr StepForm kForms[] = {
    {"start", StepKind::Start, 0, kAny, "start [ARG ...]"},
    {"answer", StepKind::Answer, 1, 1, "answer yes|no|cancel|ok"},
    {"file", StepKind::File, 1, 1, "file PATH|-"},
    {"color", StepKind::Color, 1, 3, "color R G B|-"},
    {"click", StepKind::Click, 1, 1, "click NAME"},
    {"menu", StepKind::Menu, 2, 2, "menu NAME INDEX"},
    {"tab", StepKind::Tab, 1, 1, "tab INDEX"},
    {"stage", StepKind::Stage, 2, 2, "stage INDEX on|off"},
    {"field", StepKind::Field, 4, 5, "field P KIND I tick|type TEXT|pick INDEX|leave|browse|hover"},
    {"set", StepKind::Set, 2, 2, "set {} VALUE"},
    {"select", StepKind::Select, 2, 2, "select {} INDEX"},
    {"tray", StepKind::Tray, 1, 1, "tray right|left|double"},
    {"close", StepKind::Close, 0, 0, "close"},
    {"dump", StepKind::Dump, 0, 0, "dump"},
};

struct FieldKindName {
    std::string_view name;
    FieldKind kind;
};
constexpr FieldKindName kFieldKinds[] = {
    {"checkBoxes", FieldKind::CheckBoxes}, {"editBoxes", FieldKind::EditBoxes},
    {"comboBoxes", FieldKind::ComboBoxes}, {"browseBoxes", FieldKind::BrowseBoxes},
    {"colorBoxes", FieldKind::ColorBoxes},
};

struct FieldActionForm {
    std::string_view name;
    FieldAction action;
    std::size_t arguments;
    // The kinds whose value control the action uses; empty: every kind.
    std::vector<FieldKind> kinds;
};

const std::vector<FieldActionForm>& FieldActionForms() {
    static const std::vector<FieldActionForm> forms = {
        {"tick", FieldAction::Tick, 0, {}},
        {"hover", FieldAction::Hover, 0, {}},
        {"type",
         FieldAction::Type,
         1,
         {FieldKind::EditBoxes, FieldKind::ComboBoxes, FieldKind::BrowseBoxes}},
        {"pick", FieldAction::Pick, 1, {FieldKind::ComboBoxes}},
        {"leave",
         FieldAction::Leave,
         0,
         {FieldKind::EditBoxes, FieldKind::ComboBoxes, FieldKind::BrowseBoxes}},
        {"browse", FieldAction::Browse, 0, {FieldKind::BrowseBoxes, FieldKind::ColorBoxes}},
    };
    return forms;
}

Result<void> ReadFieldStep(const std::vector<std::string>& words, ReplayStep& step) {
    if (Result<void> read = Number(words[1], step.program); !read) {
        return read;
    }
    const FieldKindName* kind = nullptr;
    for (const FieldKindName& candidate : kFieldKinds) {
        if (candidate.name == words[2]) {
            kind = &candidate;
        }
    }
    if (kind == nullptr) {
        return Failure{"unknown field kind \"" + words[2] +
                       "\" (checkBoxes, editBoxes, comboBoxes, browseBoxes, colorBoxes)"};
    }
    step.fieldKind = kind->kind;
    if (Result<void> read = Number(words[3], step.index); !read) {
        return read;
    }
    const FieldActionForm* form = nullptr;
    for (const FieldActionForm& candidate : FieldActionForms()) {
        if (candidate.name == words[4]) {
            form = &candidate;
        }
    }
    if (form == nullptr) {
        return Failure{"unknown field action \"" + words[4] +
                       "\" (tick, type, pick, leave, browse, hover)"};
    }
    step.action = form->action;
    if (words.size() != 5 + form->arguments) {
        return Failure{std::string("usage: field P KIND I ") +
                       (form->action == FieldAction::Type   ? "type TEXT"
                        : form->action == FieldAction::Pick ? "pick INDEX"
                                                            : std::string(form->name))};
    }
    bool fits = form->kinds.empty();
    for (FieldKind allowed : form->kinds) {
        fits = fits || allowed == kind->kind;
    }
    if (!fits) {
        return Failure{std::string(kind->name) + " fields have no value control to " +
                       std::string(form->name)};
    }
    if (form->action == FieldAction::Type) {
        step.text = words[5];
    } else if (form->action == FieldAction::Pick) {
        return Number(words[5], step.option);
    }
    return {};
}

// The names of the options dialog's controls that take such a step, in the dialog's order.
std::vector<std::string_view> NamesOf(bool (*takes)(const ControlRow&)) {
    std::vector<std::string_view> names;
    for (const ControlRow& row : Kestrune::Table(WindowId::Options)) {
        if (takes(row) && !ViewPreference(row)) {
            names.push_back(row.name);
        }
    }
    return names;
}

bool OneOfNames(const std::string& word, bool (*takes)(const ControlRow&)) {
    for (std::string_view name : NamesOf(takes)) {
        if (word == name) {
            return true;
        }
    }
    return false;
}

// A step's usage line; "{}" stands for the names the step takes.
std::string Usage(const StepForm& form) {
    std::string usage(form.usage);
    if (const std::size_t at = usage.find("{}"); at != std::string::npos) {
        std::string names;
        for (std::string_view name :
             NamesOf(form.kind == StepKind::Set ? &Settable : &Selectable)) {
            names += (names.empty() ? "" : "|") + std::string(name);
        }
        usage.replace(at, 2, names);
    }
    return usage;
}

// Reads the colour step's arguments: three components, or "-" for a cancelled dialog.
Result<void> ReadColor(const std::vector<std::string>& rest, const std::string& usage,
                       ReplayStep& step) {
    if (rest.size() == 1 && rest[0] == "-") {
        step.cancel = true;
        return {};
    }
    if (rest.size() != 3) {
        return Failure{usage};
    }
    std::uint32_t components[3] = {};
    for (std::size_t i = 0; i < 3; ++i) {
        int component = 0;
        if (Result<void> read = Number(rest[i], component); !read) {
            return read;
        }
        if (component < 0 || component > 255) {
            return Failure{"a colour component runs from 0 to 255"};
        }
        components[i] = static_cast<std::uint32_t>(component);
    }
    step.color = PackColor(components[0], components[1], components[2]);
    return {};
}

// Reads the arguments of a step whose verb and argument count are known good.
Result<void> ReadArguments(const std::vector<std::string>& words, const std::string& usage,
                           ReplayStep& step) {
    const std::vector<std::string> rest(words.begin() + 1, words.end());
    auto oneOf = [&](std::initializer_list<std::string_view> choices) {
        for (std::string_view choice : choices) {
            if (rest[0] == choice) {
                return Result<void>();
            }
        }
        return Result<void>(Failure{usage});
    };
    switch (step.kind) {
        case StepKind::Start:
            step.words = rest;
            return {};
        case StepKind::Answer:
            step.name = rest[0];
            return oneOf({"yes", "no", "cancel", "ok"});
        case StepKind::File:
            step.name = rest[0];
            step.cancel = rest[0] == "-";
            return {};
        case StepKind::Color:
            return ReadColor(rest, usage, step);
        case StepKind::Click:
            step.name = rest[0];
            return {};
        case StepKind::Menu:
            step.name = rest[0];
            return Number(rest[1], step.index);
        case StepKind::Tab:
            return Number(rest[0], step.index);
        case StepKind::Stage:
            if (rest[1] != "on" && rest[1] != "off") {
                return Failure{usage};
            }
            step.on = rest[1] == "on";
            return Number(rest[0], step.index);
        case StepKind::Field:
            return ReadFieldStep(words, step);
        case StepKind::Set:
        case StepKind::Select:
            step.name = rest[0];
            if (!OneOfNames(rest[0], step.kind == StepKind::Set ? &Settable : &Selectable)) {
                return Failure{usage};
            }
            return Number(rest[1], step.index);
        case StepKind::Tray:
            step.name = rest[0];
            return oneOf({"right", "left", "double"});
        case StepKind::Close:
        case StepKind::Dump:
            return {};
    }
    return Failure{usage};
}

// Fills `step` from its words, or says why they do not form a step.
Result<void> ReadStep(const std::vector<std::string>& words, ReplayStep& step) {
    const StepForm* form = nullptr;
    for (const StepForm& candidate : kForms) {
        if (candidate.verb == words[0]) {
            form = &candidate;
        }
    }
    if (form == nullptr) {
        return Failure{"unknown step \"" + words[0] + "\""};
    }
    step.kind = form->kind;
    const std::size_t arguments = words.size() - 1;
    const std::string usage = "usage: " + Usage(*form);
    if (arguments < form->minArguments || arguments > form->maxArguments) {
        return Failure{usage};
    }
    return ReadArguments(words, usage, step);
}

}  // namespace

Result<std::vector<std::string>> SplitWords(std::string_view line) {
    std::vector<std::string> words;
    std::size_t i = 0;
    while (i < line.size()) {
        if (IsBlank(line[i])) {
            ++i;
            continue;
        }
        std::string word;
        if (line[i] == '"') {
            ++i;
            bool closed = false;
            while (i < line.size()) {
                if (line[i] == '"') {
                    if (i + 1 < line.size() && line[i + 1] == '"') {
                        word += '"';
                        i += 2;
                        continue;
                    }
                    closed = true;
                    ++i;
                    break;
                }
                word += line[i++];
            }
            if (!closed) {
                return Failure{"a double quote is not closed"};
            }
            if (i < line.size() && !IsBlank(line[i])) {
                return Failure{"a closing double quote must end its word"};
            }
        } else {
            while (i < line.size() && !IsBlank(line[i])) {
                if (line[i] == '"') {
                    return Failure{"a double quote inside a word; quote the whole word"};
                }
                word += line[i++];
            }
        }
        words.push_back(std::move(word));
    }
    return words;
}

ParsedScript ParseScript(std::string_view bytes) {
    ParsedScript parsed;
    int lineNumber = 0;
    std::size_t position = 0;
    while (position < bytes.size()) {
        std::size_t end = bytes.find('\n', position);
        if (end == std::string_view::npos) {
            end = bytes.size();
        }
        std::string_view line = bytes.substr(position, end - position);
        position = end + 1;
        ++lineNumber;
        if (!line.empty() && line.back() == '\r') {
            line.remove_suffix(1);  // a script written with CR LF reads the same
        }
        line = TrimBlanks(line);
        if (line.empty() || line.front() == '#') {
            continue;
        }
        auto fail = [&](std::string what) {
            parsed.steps.clear();
            parsed.error = ScriptError{lineNumber, std::string(line), std::move(what)};
            return std::move(parsed);
        };
        // Paths and texts cannot hold it, and it cuts messages short.
        if (line.find('\0') != std::string_view::npos) {
            return fail("the line holds a NUL byte");
        }
        const Result<std::vector<std::string>> words = SplitWords(line);
        if (!words) {
            return fail(words.Error());
        }
        ReplayStep step;
        step.line = lineNumber;
        step.source = std::string(line);
        if (const Result<void> read = ReadStep(*words, step); !read) {
            return fail(read.Error());
        }
        if (step.kind == StepKind::Start && !parsed.steps.empty()) {
            return fail("start must be the first step");
        }
        parsed.steps.push_back(std::move(step));
    }
    return parsed;
}

}  // namespace kestrune::cli
