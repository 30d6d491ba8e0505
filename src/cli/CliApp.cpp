#include "CliApp.h"

#include <CLI/CLI.hpp>
#ifdef _WIN32
#include <fcntl.h>
#include <io.h>

#include <cstdio>
#endif
#include <iostream>
#include <new>
#include <optional>

#include "CliPlatform.h"
#include "LintCommand.h"
#include "ModelJson.h"
#include "NewCommand.h"
#include "Replay.h"
#include "app/Main.h"
#include "app/ProgramHome.h"
#include "base/FileIo.h"
#ifdef _WIN32
#include "base/WindowsSystem.h"
#endif
#include "script/BatchBuilder.h"
#include "specification/SpecLoader.h"

namespace kestrune::cli {
namespace {

constexpr int kExitOk = 0;
constexpr int kExitMessage = 1;
constexpr int kExitUsage = 2;

struct Options {
    std::string homeOption;  // --home
    ProgramHome home;        // the home rule's answer
    std::string specFile;
    int tabHeight = TabSize{}.clientHeight;
    std::string preset;
    std::string stage;
    std::string input;
    bool viewLog = false;
    bool noViewLog = false;
    std::string output;
    std::string importSpec;
};

// A state whose program folder is the chosen home and whose messages go to `platform`.
std::unique_ptr<AppState> MakeState(const Options& options, CliPlatform& platform) {
    auto state = std::make_unique<AppState>(options.home.programFolder);
    ApplyProgramHome(*state, options.home);
    state->Fields.platform = platform;
    return state;
}

// The main window's logic without a window, for the commands that open presets as it does.
std::unique_ptr<TfrmMain> MakeWindow(const Options& options, CliPlatform& platform) {
    auto window = std::make_unique<TfrmMain>(platform, options.home.programFolder);
    ApplyProgramHome(window->State(), options.home);
    return window;
}

// Loads a specification named on the command line; unlike the window, a missing file is
// reported, since a silent no-op would look like success.
bool LoadSpecFromCommandLine(AppState& state, const std::string& path) {
    if (!FileExists(path)) {
        state.Fields.platform.get().ShowMessage(MessageKind::Error, path + " not found.");
        return false;
    }
    LoadSpecification(state.Specification, state.Input, path);
    return true;
}

int ExitFor(const CliPlatform& platform) {
    return platform.MessageCount() == 0 ? kExitOk : kExitMessage;
}

// Runs one command; an error that escapes it becomes a message and exit 1 instead of an abort.
// Files are written only at a command's end, so an early stop leaves them as they were.
template <typename Command>
int Guarded(CliPlatform& platform, Command&& command) {
    try {
        return command();
    } catch (const std::bad_alloc&) {
        platform.ShowMessage(MessageKind::Error, "Out of memory");
    } catch (const std::exception& error) {
        platform.ShowMessage(MessageKind::Error, error.what());
    }
    return kExitMessage;
}

// A specification that stopped at an error holds only the programs read before it; a preset
// or script built from it would silently lose the others.
bool SpecificationStoppedEarly(const AppState& state, std::ostream& err) {
    if (state.Specification.SpecificationComplete) {
        return false;
    }
    err << "kestrune-cli: the specification was read only up to its error; nothing was "
           "written\n";
    return true;
}

int RunCheck(const Options& options, CliPlatform& platform, std::ostream* out) {
    return Guarded(platform, [&] {
        auto state = MakeState(options, platform);
        state->Specification.Tab.clientHeight = options.tabHeight;
        LoadSpecFromCommandLine(*state, options.specFile);
        if (out != nullptr) {
            *out << DumpJson(ModelToJson(state->Specification)) << '\n';
        }
        return ExitFor(platform);
    });
}

int RunBatch(const Options& options, CliPlatform& platform, std::ostream& out, std::ostream& err) {
    return Guarded(platform, [&] {
        auto window = MakeWindow(options, platform);
        AppState* state = &window->State();
        try {
            window->ReadSettings(window->SettingsPath());
        } catch (const IoError& error) {
            platform.ShowMessage(MessageKind::Error, error.what());
        }
        if (!window->OpenPreset(options.preset, PresetMode::Open) ||
            SpecificationStoppedEarly(*state, err)) {
            return kExitMessage;
        }
        if (!options.input.empty()) {
            window->SetInputFile(options.input);
        }
        if (state->Input.InputFile.empty()) {
            err << "kestrune-cli: the preset names no input file; give one with --input\n";
            return kExitMessage;
        }
        if (!FileExists(state->Input.InputFile)) {
            err << "kestrune-cli: input file not found: " << state->Input.InputFile << '\n';
            return kExitMessage;
        }
        if (options.viewLog) {
            state->Script.ViewLogAfterCompile = true;
        } else if (options.noViewLog) {
            state->Script.ViewLogAfterCompile = false;
        }
        const std::string target =
            options.output.empty() ? ScriptPath(state->Specification) : options.output;
        // "-o -" writes the script to standard output instead of a file.
        const bool toOut = options.output == "-";
#ifdef _WIN32
        if (toOut) {
            // The script's bytes as they are: CR LF already, no second CR from text mode.
            _setmode(_fileno(stdout), _O_BINARY);
        }
#endif
        if (options.stage.empty()) {
            const bool written = toOut ? WriteBatchTo(state->Specification, state->Script, out)
                                       : WriteBatch(state->Specification, state->Script, target);
            return written ? kExitOk : kExitMessage;
        }
        for (std::size_t i = 0; i < state->Specification.Programs.size(); ++i) {
            if (state->Specification.Programs[i]->Name == options.stage) {
                const bool written =
                    toOut ? WriteStageBatchTo(state->Specification, state->Script, out, i)
                          : WriteStageBatch(state->Specification, state->Script, target, i);
                return written ? kExitOk : kExitMessage;
            }
        }
        err << "kestrune-cli: no program is named \"" << options.stage << "\"\n";
        return kExitUsage;
    });
}

int RunSave(const Options& options, CliPlatform& platform, std::ostream& err) {
    return Guarded(platform, [&] {
        auto window = MakeWindow(options, platform);
        AppState& state = window->State();
        if (!options.importSpec.empty()) {
            if (!LoadSpecFromCommandLine(state, options.importSpec) ||
                SpecificationStoppedEarly(state, err) ||
                !window->OpenPreset(options.preset, PresetMode::Import)) {
                return kExitMessage;
            }
        } else if (!window->OpenPreset(options.preset, PresetMode::Open)) {
            return kExitMessage;
        }
        if (SpecificationStoppedEarly(state, err)) {
            return kExitMessage;
        }
        return WritePreset(state.Specification, state.Input, options.output) ? kExitOk
                                                                             : kExitMessage;
    });
}

}  // namespace

int RunWith(const std::vector<std::string>& args, const std::string& defaultHome, std::ostream& out,
            std::ostream& err) {
    HomeFacts facts;
    facts.executableFolder = WithTrailingSeparator(defaultHome);
    facts.portable = true;
    return RunWith(args, facts, out, err);
}

namespace {

// The subcommands and what their options are read into; CLI11 keeps pointers to both, so they
// stay in place while the command line is parsed and run.
struct Commands {
    CLI::App* check = nullptr;
    CLI::App* dump = nullptr;
    CLI::App* batch = nullptr;
    CLI::App* replay = nullptr;
    CLI::App* lint = nullptr;
    CLI::App* draft = nullptr;
    std::string replayScript;
    std::vector<std::string> lintFiles;
    bool lintJson = false;
    NewOptions newOptions;
};

void AddGlobalOptions(CLI::App& app, Options& options) {
    app.require_subcommand(1);
    app.set_version_flag("--version", std::string("kestrune-cli ") + kVersionText,
                         "Print the version and exit");
    app.add_option("--home", options.homeOption,
                   "Program folder holding SpecFiles/, Config/ and the script (default: $" +
                       std::string(kHomeVariable) +
                       ", else the folder of kestrune-cli when it is a portable copy, else "
                       "$XDG_DATA_HOME/kestrune)");
}

void AddPresetCommands(CLI::App& app, Options& options, Commands& commands) {
    CLI::App* batch = app.add_subcommand("batch", "Open a preset and write its batch script");
    batch->add_option("PRESET", options.preset, "Preset file")->required();
    batch->add_option("--stage", options.stage, "Write the script of this one stage");
    batch->add_option("--input", options.input, "Input file to build");
    CLI::Option* viewLog = batch->add_flag("--view-log", options.viewLog, "Keep $REDA lines");
    CLI::Option* noViewLog =
        batch->add_flag("--no-view-log", options.noViewLog, "Drop $REDA lines");
    viewLog->excludes(noViewLog);
    batch->add_option("-o", options.output,
                      "Script file, or - for standard output (default: compile.sh in the home; "
                      "compile.bat on Windows)");
    commands.batch = batch;

    CLI::App* save = app.add_subcommand("save", "Open a preset and write it back");
    save->add_option("PRESET", options.preset, "Preset file")->required();
    save->add_option("--import", options.importSpec,
                     "Load this specification and import the preset into it");
    save->add_option("-o", options.output, "Preset file to write")->required();
}

// The subcommands in the order the help lists them.
void AddCommands(CLI::App& app, Options& options, Commands& commands) {
    AddGlobalOptions(app, options);
    commands.check = app.add_subcommand("check", "Read a specification file and report errors");
    commands.check->add_option("SPECFILE", options.specFile, "Specification file")->required();

    commands.dump = app.add_subcommand("dump", "Read a specification file and print its model");
    commands.dump
        ->add_option("--tab-height", options.tabHeight, "Client height of a program tab in pixels")
        ->check(CLI::Range(1, 1000000));
    commands.dump->add_option("SPECFILE", options.specFile, "Specification file")->required();

    AddPresetCommands(app, options, commands);

    commands.replay =
        app.add_subcommand("replay", "Run a script of user steps on the windows' logic");
    commands.replay->add_option("SCRIPT", commands.replayScript, "Script file, one step per line")
        ->required();

    commands.lint = app.add_subcommand(
        "lint", "Report syntax errors and silent mistakes in specification files");
    commands.lint->add_flag("--json", commands.lintJson, "Print the findings as a JSON array");
    commands.lint->add_option("SPECFILE", commands.lintFiles, "Specification files")->required();

    commands.draft = AddNewCommand(app, commands.newOptions);
}

// Runs the one subcommand the command line chose, in the program home it decides.
int RunCommand(const Commands& commands, Options& options, HomeFacts& facts, std::ostream& out,
               std::ostream& err) {
    if (commands.lint->parsed()) {
        // Reads only the files named, no home.
        return RunLint(commands.lintFiles, commands.lintJson, out);
    }

    facts.homeOption = options.homeOption;
    options.home = DecideProgramHome(facts);
    for (const std::string& problem : PrepareProgramHome(options.home)) {
        err << "kestrune-cli: " << problem << '\n';
    }

    CliPlatform platform(err);
    if (commands.check->parsed()) {
        return RunCheck(options, platform, nullptr);
    }
    if (commands.dump->parsed()) {
        return RunCheck(options, platform, &out);
    }
    if (commands.draft->parsed()) {
        return RunNew(commands.newOptions, options.home.programFolder, out, err);
    }
    if (commands.replay->parsed()) {
        // The window's executable lives beside kestrune-cli.
        return RunReplay(commands.replayScript, options.home, facts.executableFolder + "kestrune",
                         out, err);
    }
    if (commands.batch->parsed()) {
        const int code = RunBatch(options, platform, out, err);
        if (code == kExitUsage) {
            err << '\n' << commands.batch->help();
        }
        return code;
    }
    return RunSave(options, platform, err);
}

}  // namespace

int RunWith(const std::vector<std::string>& args, HomeFacts facts, std::ostream& out,
            std::ostream& err) {
    Options options;
    Commands commands;
    CLI::App app{"Reads Kestrune specification and preset files and writes batch scripts.",
                 "kestrune-cli"};
    AddCommands(app, options, commands);

    std::vector<std::string> reversed(args.rbegin(), args.rend());
    try {
        app.parse(reversed);
    } catch (const CLI::CallForHelp&) {
        out << app.help();
        return kExitOk;
    } catch (const CLI::CallForVersion& version) {
        out << version.what() << '\n';
        return kExitOk;
    } catch (const CLI::ParseError& error) {
        err << "kestrune-cli: " << error.what() << "\n\n" << app.help();
        return kExitUsage;
    }
    return RunCommand(commands, options, facts, out, err);
}

int Run(int argc, char** argv) {
    std::vector<std::string> args;
#ifdef _WIN32
    // Everything kestrune-cli prints is UTF-8 (JSON by definition, the rest alike), so that a
    // pipe or a file gets one encoding; a console is told to show it so.
    const windows::ConsoleOutputAsUtf8 console;
    // The arguments as typed, in UTF-8 as the core keeps text; argv has them in the code page.
    (void)argc;
    args = windows::CommandLineArguments();
#else
    for (int i = 1; i < argc; ++i) {
        args.emplace_back(argv[i]);
    }
#endif
    try {
        CliPlatform platform(std::cerr);
        return RunWith(
            args, GatherHomeFacts(platform, ExecutableFolder(argc > 0 ? argv[0] : nullptr), {}),
            std::cout, std::cerr);
    } catch (const std::bad_alloc&) {
        std::cerr << "kestrune-cli: Out of memory\n";
    } catch (const std::exception& error) {
        std::cerr << "kestrune-cli: " << error.what() << '\n';
    }
    return kExitMessage;
}

}  // namespace kestrune::cli
