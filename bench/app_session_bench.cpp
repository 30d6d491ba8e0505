// A whole session through the main window's handlers on a chain of 200 programs with 50
// fields each: start (which opens the most recent preset), open a preset, tick a program's
// fields, Run, save and close. Each step is timed on its own.

#include <benchmark/benchmark.h>
#include <stdlib.h>

#include <cstdio>
#include <filesystem>
#include <stdexcept>
#include <string>

#include "app/Kestrune.h"
#include "base/FileIo.h"
#include "base/NullPlatform.h"

namespace {

using namespace kestrune;

constexpr int kPrograms = 200;
constexpr int kFieldsPerProgram = 50;

// Answers every save prompt with No and counts messages; a message means a failed step.
class SessionPlatform : public NullPlatform {
  public:
    void ShowMessage(MessageKind, const std::string& text) override {
        ++messages;
        last = text;
    }
    ConfirmAnswer Confirm(const std::string&) override { return ConfirmAnswer::No; }
    std::string LocalDateTimeText() override { return "08.12.2026 10:00:00"; }
    bool HasNotificationArea() override { return true; }

    int messages = 0;
    std::string last;
};

std::string Name(int index) {
    char name[16];
    std::snprintf(name, sizeof name, "Tool%03d", index);
    return name;
}

// A program folder with the specification, its tool path file, a preset that ticks every
// stage and every field, the input file and a settings file naming the preset.
class SessionFolder {
  public:
    SessionFolder() {
        std::string pattern =
            (std::filesystem::temp_directory_path() / "kestrune-session-XXXXXX").string();
        if (mkdtemp(pattern.data()) == nullptr) {
            throw std::runtime_error("cannot create a temporary folder");
        }
        folder = pattern + "/";
        EnsureFolder(folder + "SpecFiles");
        EnsureFolder(folder + "Config");
        const std::string tool = folder + "tool";
        WriteFileReplacing(tool, "");
        input = folder + "input.map";
        WriteFileReplacing(input, "");

        std::string spec = "Setup = Session\r\n{\r\nlayout:\r\n";
        std::string paths = "BasePath = " + folder + "\r\nFileDest = " + folder + "\r\n";
        std::string body;
        preset = "ZRP200\r\n\r\n[Header]\r\nSpecFile = Session.zrs\r\nFile = " + input + "\r\n\r\n";
        for (int p = 0; p < kPrograms; ++p) {
            const std::string name = Name(p);
            spec += "$ClassEXE=" + name + " $ClassParam=" + name + " $FilePath/$FileName\r\n";
            paths += name + " = " + tool + "\r\n";
            body += "Group = " + name + "\r\n{\r\nrequireexe = true\r\n";
            preset += "[Class = " + name + "]\r\nRun = True\r\n";
            for (int f = 0; f < kFieldsPerProgram; ++f) {
                const std::string caption = "Field" + std::to_string(f);
                if (f % 2 == 0) {
                    body += "checkbox = " + caption + "\r\n{\r\nparam = -c" + std::to_string(f) +
                            "\r\n}\r\n";
                    preset += "[Field = " + caption + "]\r\nChecked = True\r\n";
                } else {
                    body += "editbox = " + caption + "\r\n{\r\nparam = -e" + std::to_string(f) +
                            "\r\ndefault = v\r\n}\r\n";
                    preset += "[Field = " + caption + "]\r\nChecked = True\r\nValue = x\r\n";
                }
            }
            body += "}\r\n";
            preset += "\r\n";
        }
        spec += "}\r\n" + body;
        WriteFileReplacing(folder + "SpecFiles/Session.zrs", spec);
        WriteFileReplacing(folder + "Config/Session.path", paths);
        presetPath = folder + "session.zrp";
        WriteFileReplacing(presetPath, preset);
        WriteFileReplacing(folder + "Config/config.ini",
                           "[Recent Presets]\r\nRecentPreset = " + presetPath + "\r\n");
    }
    ~SessionFolder() {
        std::error_code ec;
        std::filesystem::remove_all(folder, ec);
    }

    std::string folder, input, preset, presetPath;
};

SessionFolder& Folder() {
    static SessionFolder folder;
    return folder;
}

void Check(benchmark::State& bench, const SessionPlatform& platform) {
    if (platform.messages != 0) {
        bench.SkipWithError(("a step showed a message: " + platform.last).c_str());
    }
}

void BM_Start(benchmark::State& bench) {
    SessionPlatform platform;
    for (auto _ : bench) {
        Kestrune program(platform, Folder().folder);
        program.Start({});
        benchmark::DoNotOptimize(program.frmMain.State().Specification.Programs.size());
    }
    Check(bench, platform);
}

// The steps after start run on one started program; each iteration repeats one step.
struct Started {
    SessionPlatform platform;
    Kestrune program{platform, Folder().folder};
    Started() { program.Start({}); }
};

void BM_OpenPreset(benchmark::State& bench) {
    Started s;
    for (auto _ : bench) {
        s.program.frmMain.OpenPreset(Folder().presetPath, PresetMode::Open);
    }
    Check(bench, s.platform);
}

void BM_TickProgram(benchmark::State& bench) {
    Started s;
    TZRGroup& program = *s.program.frmMain.State().Specification.Programs[kPrograms / 2];
    int ticked = 0;
    for (auto _ : bench) {
        program.ForEachField([&ticked](auto& field) {
            field.CheckClick();
            ticked += field.Checked() ? 1 : 0;
        });
    }
    bench.counters["fields"] = benchmark::Counter(
        static_cast<double>(bench.iterations() * kFieldsPerProgram), benchmark::Counter::kIsRate);
    benchmark::DoNotOptimize(ticked);
    Check(bench, s.platform);
}

void BM_Run(benchmark::State& bench) {
    Started s;
    for (auto _ : bench) {
        s.program.Click("cmdCompile");
    }
    Check(bench, s.platform);
}

void BM_Save(benchmark::State& bench) {
    Started s;
    for (auto _ : bench) {
        s.program.Click("cmdSavePreset");
    }
    Check(bench, s.platform);
}

void BM_Close(benchmark::State& bench) {
    SessionPlatform platform;
    for (auto _ : bench) {
        bench.PauseTiming();
        auto program = std::make_unique<Kestrune>(platform, Folder().folder);
        program->Start({});
        program->frmMain.State().Fields.PresetChanged = true;
        bench.ResumeTiming();
        program->CloseBox();
        benchmark::DoNotOptimize(program->frmMain.Closed);
        bench.PauseTiming();
        program.reset();
        bench.ResumeTiming();
    }
    Check(bench, platform);
}

BENCHMARK(BM_Start)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_OpenPreset)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_TickProgram)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_Run)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Save)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Close)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
