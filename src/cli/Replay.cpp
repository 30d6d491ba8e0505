#include "Replay.h"

#include <ostream>

#include "ReplayPlatform.h"
#include "StateJson.h"
#include "base/FileIo.h"

namespace kestrune::cli {

namespace {

constexpr int kExitOk = 0;
constexpr int kExitFailed = 1;

// ---- Running

class Runner {
  public:
    Runner(Kestrune& app, ReplayPlatform& platform, std::ostream& out)
        : app_(app), platform_(platform), out_(out) {}

    // Carries out one step, or says what kept it from being carried out.
    Result<void> Run(const ReplayStep& step) {
        Result<void> done = Dispatch(step);
        // A box or dialog that found nothing queued is the step's fault too.
        if (std::optional<std::string> fault = platform_.TakeFault(); fault && done) {
            return Failure{std::move(*fault)};
        }
        return done;
    }

  private:
    static Result<void> Failed(EventResult result) {
        if (result == EventResult::Done) {
            return {};
        }
        return Failure{std::string(EventResultText(result))};
    }

    Result<void> Dispatch(const ReplayStep& step) {
        switch (step.kind) {
            case StepKind::Start:
                app_.Start(step.words);
                return {};
            case StepKind::Answer:
                platform_.QueueAnswer(AnswerOf(step.name));
                return {};
            case StepKind::File:
                platform_.QueueFile(step.cancel ? std::nullopt
                                                : std::optional<std::string>(step.name));
                return {};
            case StepKind::Color:
                platform_.QueueColor(step.cancel ? std::nullopt
                                                 : std::optional<std::uint32_t>(step.color));
                return {};
            case StepKind::Click:
                return Failed(app_.Click(step.name));
            case StepKind::Menu:
                // A negative index is as far out of range as any other.
                return Failed(app_.ChooseMenuItem(step.name, static_cast<std::size_t>(step.index)));
            case StepKind::Tab:
                return Failed(app_.SelectTab(step.index));
            case StepKind::Stage:
                return Failed(app_.MarkStage(step.index, step.on));
            case StepKind::Field:
                return Failed(app_.Field({step.program, step.fieldKind, step.index, step.action,
                                          step.text, step.option}));
            case StepKind::Set:
                return Failed(app_.SetValue(step.name, step.index));
            case StepKind::Select:
                return Failed(app_.SelectRow(step.name, step.index));
            case StepKind::Tray:
                return Failed(app_.Tray(step.name == "right"  ? TrayMouse::RightButtonDown
                                        : step.name == "left" ? TrayMouse::LeftButtonDown
                                                              : TrayMouse::LeftDoubleClick));
            case StepKind::Close:
                return Failed(app_.CloseBox());
            case StepKind::Dump:
                out_ << DumpJsonLine(StateToJson(app_, platform_)) << '\n' << std::flush;
                return {};
        }
        return {};
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

    Kestrune& app_;
    ReplayPlatform& platform_;
    std::ostream& out_;
};

void Report(std::ostream& err, const ReplayStep& step, const std::string& what) {
    err << "kestrune-cli: line " << step.line << ": " << step.source << ": " << what << '\n'
        << std::flush;
}

}  // namespace

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
        if (const Result<void> done = runner.Run(script.steps[i]); !done) {
            Report(err, script.steps[i], done.Error());
            return kExitFailed;
        }
    }
    return kExitOk;
}

}  // namespace kestrune::cli
