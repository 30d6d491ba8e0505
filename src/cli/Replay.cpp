#include "Replay.h"

#include <charconv>
#include <ostream>
#include <type_traits>

#include "ReplayPlatform.h"
#include "StateJson.h"
#include "app/Kestrune.h"
#include "base/FileIo.h"

namespace kestrune::cli {

namespace {

constexpr int kExitOk = 0;
constexpr int kExitFailed = 1;

bool IsBlank(char c) {
    return c == ' ' || c == '\t';
}

std::string_view TrimBlanks(std::string_view text) {
    while (!text.empty() && IsBlank(text.front())) {
        text.remove_prefix(1);
    }
    while (!text.empty() && IsBlank(text.back())) {
        text.remove_suffix(1);
    }
    return text;
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

// Reads a number argument into `target`; the error text when it is not one.
std::optional<std::string> Number(const std::string& word, int& target) {
    if (const std::optional<int> value = WholeNumber(word)) {
        target = *value;
        return std::nullopt;
    }
    return "\"" + word + "\" is not a whole number";
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
    {"set", StepKind::Set, 2, 2, "set sldTrancparency|numRecentFiles VALUE"},
    {"select", StepKind::Select, 2, 2, "select lstToolPaths|lstPresets INDEX"},
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

std::optional<std::string> ReadFieldStep(const std::vector<std::string>& words, ReplayStep& step) {
    if (auto error = Number(words[1], step.program)) {
        return error;
    }
    const FieldKindName* kind = nullptr;
    for (const FieldKindName& candidate : kFieldKinds) {
        if (candidate.name == words[2]) {
            kind = &candidate;
        }
    }
    if (kind == nullptr) {
        return "unknown field kind \"" + words[2] +
               "\" (checkBoxes, editBoxes, comboBoxes, browseBoxes, colorBoxes)";
    }
    step.fieldKind = kind->kind;
    if (auto error = Number(words[3], step.index)) {
        return error;
    }
    const FieldActionForm* form = nullptr;
    for (const FieldActionForm& candidate : FieldActionForms()) {
        if (candidate.name == words[4]) {
            form = &candidate;
        }
    }
    if (form == nullptr) {
        return "unknown field action \"" + words[4] + "\" (tick, type, pick, leave, browse, hover)";
    }
    step.action = form->action;
    if (words.size() != 5 + form->arguments) {
        return std::string("usage: field P KIND I ") +
               (form->action == FieldAction::Type   ? "type TEXT"
                : form->action == FieldAction::Pick ? "pick INDEX"
                                                    : std::string(form->name));
    }
    bool fits = form->kinds.empty();
    for (FieldKind allowed : form->kinds) {
        fits = fits || allowed == kind->kind;
    }
    if (!fits) {
        return std::string(kind->name) + " fields have no value control to " +
               std::string(form->name);
    }
    if (form->action == FieldAction::Type) {
        step.text = words[5];
    } else if (form->action == FieldAction::Pick) {
        return Number(words[5], step.option);
    }
    return std::nullopt;
}

// Fills `step` from its words; the error text when they do not form a step.
std::optional<std::string> ReadStep(const std::vector<std::string>& words, ReplayStep& step) {
    const StepForm* form = nullptr;
    for (const StepForm& candidate : kForms) {
        if (candidate.verb == words[0]) {
            form = &candidate;
        }
    }
    if (form == nullptr) {
        return "unknown step \"" + words[0] + "\"";
    }
    step.kind = form->kind;
    const std::size_t arguments = words.size() - 1;
    const std::string usage = "usage: " + std::string(form->usage);
    if (arguments < form->minArguments || arguments > form->maxArguments) {
        return usage;
    }
    const std::vector<std::string> rest(words.begin() + 1, words.end());
    auto oneOf = [&](std::initializer_list<std::string_view> choices) {
        for (std::string_view choice : choices) {
            if (rest[0] == choice) {
                return true;
            }
        }
        return false;
    };
    switch (form->kind) {
        case StepKind::Start:
            step.words = rest;
            return std::nullopt;
        case StepKind::Answer:
            step.name = rest[0];
            return oneOf({"yes", "no", "cancel", "ok"}) ? std::nullopt
                                                        : std::optional<std::string>(usage);
        case StepKind::File:
            step.name = rest[0];
            step.cancel = rest[0] == "-";
            return std::nullopt;
        case StepKind::Color: {
            if (rest.size() == 1 && rest[0] == "-") {
                step.cancel = true;
                return std::nullopt;
            }
            if (rest.size() != 3) {
                return usage;
            }
            for (std::size_t i = 0; i < 3; ++i) {
                int component = 0;
                if (auto error = Number(rest[i], component)) {
                    return error;
                }
                if (component < 0 || component > 255) {
                    return "a colour component runs from 0 to 255";
                }
                // Red in the lowest byte, green in the next, blue in the third.
                step.color |= static_cast<std::uint32_t>(component) << (8 * i);
            }
            return std::nullopt;
        }
        case StepKind::Click:
            step.name = rest[0];
            return std::nullopt;
        case StepKind::Menu:
            step.name = rest[0];
            return Number(rest[1], step.index);
        case StepKind::Tab:
            return Number(rest[0], step.index);
        case StepKind::Stage:
            if (rest[1] != "on" && rest[1] != "off") {
                return usage;
            }
            step.on = rest[1] == "on";
            return Number(rest[0], step.index);
        case StepKind::Field:
            return ReadFieldStep(words, step);
        case StepKind::Set:
            step.name = rest[0];
            if (!oneOf({"sldTrancparency", "numRecentFiles"})) {
                return usage;
            }
            return Number(rest[1], step.index);
        case StepKind::Select:
            step.name = rest[0];
            if (!oneOf({"lstToolPaths", "lstPresets"})) {
                return usage;
            }
            return Number(rest[1], step.index);
        case StepKind::Tray:
            step.name = rest[0];
            return oneOf({"right", "left", "double"}) ? std::nullopt
                                                      : std::optional<std::string>(usage);
        case StepKind::Close:
        case StepKind::Dump:
            return std::nullopt;
    }
    return usage;
}

// ---- Running

EventResult Usable(const ControlState& control) {
    if (!control.visible) {
        return EventResult::Hidden;
    }
    return control.enabled ? EventResult::Done : EventResult::Disabled;
}

std::optional<std::string> Failed(EventResult result) {
    if (result == EventResult::Done) {
        return std::nullopt;
    }
    return std::string(EventResultText(result));
}

class Runner {
  public:
    Runner(Kestrune& app, ReplayPlatform& platform, std::ostream& out)
        : app_(app), platform_(platform), out_(out) {}

    // What kept the step from being carried out, if anything.
    std::optional<std::string> Run(const ReplayStep& step) {
        std::optional<std::string> failure = Dispatch(step);
        // A box or dialog that found nothing queued is the step's fault too.
        if (std::optional<std::string> fault = platform_.TakeFault(); fault && !failure) {
            failure = std::move(fault);
        }
        return failure;
    }

  private:
    std::optional<std::string> Dispatch(const ReplayStep& step) {
        TfrmMain& main = app_.frmMain;
        switch (step.kind) {
            case StepKind::Start:
                app_.Start(step.words);
                return std::nullopt;
            case StepKind::Answer:
                platform_.QueueAnswer(AnswerOf(step.name));
                return std::nullopt;
            case StepKind::File:
                platform_.QueueFile(step.cancel ? std::nullopt
                                                : std::optional<std::string>(step.name));
                return std::nullopt;
            case StepKind::Color:
                platform_.QueueColor(step.cancel ? std::nullopt
                                                 : std::optional<std::uint32_t>(step.color));
                return std::nullopt;
            case StepKind::Click:
                return Failed(app_.Click(step.name));
            case StepKind::Menu:
                // A negative index is as far out of range as any other.
                return Failed(app_.ChooseMenuItem(step.name, static_cast<std::size_t>(step.index)));
            case StepKind::Tab:
                return Tab(step.index);
            case StepKind::Stage:
                return Stage(step.index, step.on);
            case StepKind::Field:
                return Field(step);
            case StepKind::Set:
                return Set(step.name, step.index);
            case StepKind::Select:
                return Select(step.name, step.index);
            case StepKind::Tray:
                if (!main.InTray || main.Closed) {
                    return "the window is not in the tray";
                }
                app_.Guarded([&main, &step] {
                    main.TrayCallback(step.name == "right"  ? TrayMouse::RightButtonDown
                                      : step.name == "left" ? TrayMouse::LeftButtonDown
                                                            : TrayMouse::LeftDoubleClick);
                });
                return std::nullopt;
            case StepKind::Close:
                if (!DialogOpen()) {
                    if (main.Closed) {
                        return "the program has ended";
                    }
                    if (!main.Visible) {
                        return Failed(EventResult::Blocked);
                    }
                }
                app_.CloseBox();
                return std::nullopt;
            case StepKind::Dump:
                out_ << DumpJsonLine(StateToJson(app_, platform_)) << '\n' << std::flush;
                return std::nullopt;
        }
        return std::nullopt;
    }

    static ReplayAnswer AnswerOf(const std::string& word) {
        if (word == "yes") {
            return ReplayAnswer::Yes;
        }
        if (word == "no") {
            return ReplayAnswer::No;
        }
        return word == "ok" ? ReplayAnswer::Ok : ReplayAnswer::Cancel;
    }

    bool DialogOpen() const { return app_.frmOptions.IsOpen || app_.frmAbout.IsOpen; }

    // The main window takes clicks only while it is shown and no dialog is open.
    EventResult MainWindow() const {
        const TfrmMain& main = app_.frmMain;
        return DialogOpen() || !main.Visible || main.Closed ? EventResult::Blocked
                                                            : EventResult::Done;
    }

    std::optional<std::string> Tab(int index) {
        if (auto failure = Failed(MainWindow())) {
            return failure;
        }
        if (auto failure = Failed(Usable(app_.frmMain.tabMain))) {
            return failure;
        }
        if (index < 0 ||
            static_cast<std::size_t>(index) >= app_.frmMain.State().Specification.Programs.size()) {
            return "there is no program tab at that index";
        }
        app_.Guarded([this, index] { app_.frmMain.SetActiveTab(index); });
        return std::nullopt;
    }

    std::optional<std::string> Stage(int index, bool on) {
        TfrmMain& main = app_.frmMain;
        if (auto failure = Failed(MainWindow())) {
            return failure;
        }
        if (auto failure = Failed(Usable(main.lstStages))) {
            return failure;
        }
        if (index < 0 ||
            static_cast<std::size_t>(index) >= main.State().Specification.Stages.size()) {
            return "the stages list has no entry at that index";
        }
        app_.Guarded([&main, index, on] {
            main.SetStageMark(static_cast<std::size_t>(index), on);
            main.lstStagesClick();
        });
        return std::nullopt;
    }

    std::optional<std::string> Field(const ReplayStep& step) {
        if (auto failure = Failed(MainWindow())) {
            return failure;
        }
        const auto& programs = app_.frmMain.State().Specification.Programs;
        if (step.program < 0 || static_cast<std::size_t>(step.program) >= programs.size()) {
            return "there is no program at that index";
        }
        TZRGroup& group = *programs[static_cast<std::size_t>(step.program)];
        switch (step.fieldKind) {
            case FieldKind::CheckBoxes:
                return ActOn(group.CheckBoxes, step);
            case FieldKind::EditBoxes:
                return ActOn(group.EditBoxes, step);
            case FieldKind::ComboBoxes:
                return ActOn(group.ComboBoxes, step);
            case FieldKind::BrowseBoxes:
                return ActOn(group.BrowseBoxes, step);
            case FieldKind::ColorBoxes:
                return ActOn(group.ColorBoxes, step);
        }
        return std::nullopt;
    }

    // The control a value action works on; nullptr where the kind has none.
    template <typename Box>
    static ControlState* ValueControl(Box& box, FieldAction action) {
        if constexpr (std::is_same_v<Box, TZREditBox>) {
            return &box.EditControl;
        } else if constexpr (std::is_same_v<Box, TZRComboBox>) {
            return &box.ComboControl;
        } else if constexpr (std::is_same_v<Box, TZRBrowseBox>) {
            return action == FieldAction::Browse ? &box.BrowseButton : &box.EditControl;
        } else if constexpr (std::is_same_v<Box, TZRColorBox>) {
            return &box.ColorButton;
        } else {
            (void)box;
            (void)action;
            return nullptr;
        }
    }

    template <typename Boxes>
    std::optional<std::string> ActOn(Boxes& boxes, const ReplayStep& step) {
        using Box = typename Boxes::value_type;
        if (step.index < 0 || static_cast<std::size_t>(step.index) >= boxes.size()) {
            return "the program has no field of that kind at that index";
        }
        Box& box = boxes[static_cast<std::size_t>(step.index)];
        if (step.action == FieldAction::Tick || step.action == FieldAction::Hover) {
            if (auto failure = Failed(Usable(box.Core.CheckControl))) {
                return failure;
            }
            const bool tick = step.action == FieldAction::Tick;
            app_.Guarded([&box, tick] {
                if (tick) {
                    box.CheckClick();
                } else {
                    box.MouseMove();
                }
            });
            return std::nullopt;
        }
        ControlState* control = ValueControl(box, step.action);
        if (control == nullptr) {
            return "the field has no value control";  // refused when the script was read
        }
        if (auto failure = Failed(Usable(*control))) {
            return failure;
        }
        std::optional<std::string> failure;
        app_.Guarded([&] { failure = ValueAction(box, step); });
        return failure;
    }

    template <typename Box>
    static std::optional<std::string> ValueAction(Box& box, const ReplayStep& step) {
        if constexpr (std::is_same_v<Box, TZREditBox>) {
            if (step.action == FieldAction::Type) {
                box.EditChange(step.text);
            } else if (step.action == FieldAction::Leave) {
                box.EditExit();
            }
        } else if constexpr (std::is_same_v<Box, TZRComboBox>) {
            if (step.action == FieldAction::Type) {
                box.EditChange(step.text);
            } else if (step.action == FieldAction::Leave) {
                box.NormalizeChoice();
            } else if (step.action == FieldAction::Pick) {
                if (step.option < 0 ||
                    static_cast<std::size_t>(step.option) >= box.OptionNames.size()) {
                    return "the combo box has no option at that index";
                }
                box.Select(static_cast<std::size_t>(step.option));
            }
        } else if constexpr (std::is_same_v<Box, TZRBrowseBox>) {
            // Leaving a path box does nothing: it takes any text.
            if (step.action == FieldAction::Type) {
                box.EditChange(step.text);
            } else if (step.action == FieldAction::Browse) {
                box.ChooseValue();
            }
        } else if constexpr (std::is_same_v<Box, TZRColorBox>) {
            box.ChooseValue();
        } else {
            (void)box;
            (void)step;
        }
        return std::nullopt;
    }

    // A control of the options dialog on `page`.
    EventResult OptionsControl(const ControlState& control, int page) const {
        const TfrmOptions& options = app_.frmOptions;
        if (!options.IsOpen) {
            return EventResult::Blocked;
        }
        if (options.Page != page) {
            return EventResult::Hidden;
        }
        return Usable(control);
    }

    std::optional<std::string> Set(const std::string& name, int value) {
        TfrmOptions& options = app_.frmOptions;
        const bool slider = name == "sldTrancparency";
        if (auto failure = Failed(
                OptionsControl(slider ? options.sldTrancparency : options.numRecentFiles, 0))) {
            return failure;
        }
        app_.Guarded([&options, slider, value] {
            if (slider) {
                options.sldTrancparencyChange(value);
            } else {
                options.numRecentFilesClick(value);
            }
        });
        return std::nullopt;
    }

    std::optional<std::string> Select(const std::string& name, int row) {
        TfrmOptions& options = app_.frmOptions;
        const bool tools = name == "lstToolPaths";
        if (auto failure = Failed(tools ? OptionsControl(options.lstToolPaths, 1)
                                        : OptionsControl(options.lstPresets, 2))) {
            return failure;
        }
        const std::size_t rows = tools ? options.ToolRows.size() : options.Presets.size();
        if (row < -1 || (row >= 0 && static_cast<std::size_t>(row) >= rows)) {
            return "the list has no row at that index";
        }
        app_.Guarded([&options, tools, row] {
            if (tools) {
                options.SelectToolRow(row);
                options.lstToolPathsClick();
            } else {
                options.SelectPreset(row);
            }
        });
        return std::nullopt;
    }

    Kestrune& app_;
    ReplayPlatform& platform_;
    std::ostream& out_;
};

void Report(std::ostream& err, const ReplayStep& step, const std::string& what) {
    err << "kestrune-cli: line " << step.line << ": " << step.source << ": " << what << '\n'
        << std::flush;
}

}  // namespace

std::optional<std::vector<std::string>> SplitWords(std::string_view line, std::string& error) {
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
                error = "a double quote is not closed";
                return std::nullopt;
            }
            if (i < line.size() && !IsBlank(line[i])) {
                error = "a closing double quote must end its word";
                return std::nullopt;
            }
        } else {
            while (i < line.size() && !IsBlank(line[i])) {
                if (line[i] == '"') {
                    error = "a double quote inside a word; quote the whole word";
                    return std::nullopt;
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
        std::string error;
        const std::optional<std::vector<std::string>> words = SplitWords(line, error);
        if (!words) {
            return fail(error);
        }
        ReplayStep step;
        step.line = lineNumber;
        step.source = std::string(line);
        if (std::optional<std::string> what = ReadStep(*words, step)) {
            return fail(*what);
        }
        if (step.kind == StepKind::Start && !parsed.steps.empty()) {
            return fail("start must be the first step");
        }
        parsed.steps.push_back(std::move(step));
    }
    return parsed;
}

int RunReplay(const std::string& scriptPath, const ProgramHome& home,
              const std::string& executablePath, std::ostream& out, std::ostream& err) {
    if (!FileExists(scriptPath)) {
        err << "kestrune-cli: script not found: " << scriptPath << '\n';
        return kExitFailed;
    }
    std::string bytes;
    try {
        bytes = ReadFileBytes(scriptPath);
    } catch (const IoError& error) {
        err << "kestrune-cli: " << error.what() << '\n';
        return kExitFailed;
    }
    const ParsedScript script = ParseScript(bytes);
    if (script.error) {
        err << "kestrune-cli: line " << script.error->line << ": " << script.error->source << ": "
            << script.error->what << '\n';
        return kExitFailed;
    }

    ReplayPlatform platform(err);
    Kestrune app(platform, home.programFolder, executablePath);
    ApplyProgramHome(app.frmMain.State(), home);
    Runner runner(app, platform, out);
    if (script.steps.empty() || script.steps.front().kind != StepKind::Start) {
        // Without a start step the program starts with an empty command line.
        app.Start({});
    }
    for (std::size_t i = 0; i < script.steps.size(); ++i) {
        if (std::optional<std::string> failure = runner.Run(script.steps[i])) {
            Report(err, script.steps[i], *failure);
            return kExitFailed;
        }
    }
    return kExitOk;
}

}  // namespace kestrune::cli
