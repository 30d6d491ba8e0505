// Building the script, writing the preset and reading it back, for chains of 50 and 200
// programs with 50 ticked fields each. Time per program should stay flat as the chain grows.

#include <benchmark/benchmark.h>
#include <stdlib.h>

#include <cstdio>
#include <filesystem>
#include <memory>
#include <optional>
#include <stdexcept>
#include <string>

#include "app/AppState.h"
#include "base/FileIo.h"
#include "base/NullPlatform.h"
#include "presets/PresetFile.h"
#include "script/BatchBuilder.h"

namespace {

using namespace kestrune;

constexpr int kFieldsPerProgram = 50;

// Counts messages; any message means the benchmark measured a failure.
class QuietPlatform : public NullPlatform {
  public:
    void ShowMessage(MessageKind, const std::string& text) override {
        ++messages;
        last = text;
    }
    std::string LocalDateTimeText() override { return "07.12.2026 20:48:16"; }

    int messages = 0;
    std::string last;
};

std::string ProgramName(int index) {
    char name[16];
    std::snprintf(name, sizeof name, "Tool%03d", index);
    return name;
}

// A chain of `count` stages in a temporary program folder, every field ticked; every tenth
// field also lends its fragment to the next program.
class GeneratedChain {
  public:
    explicit GeneratedChain(int count) {
        std::string pattern =
            (std::filesystem::temp_directory_path() / "kestrune-bench-XXXXXX").string();
        if (mkdtemp(pattern.data()) == nullptr) {
            throw std::runtime_error("cannot create a temporary folder");
        }
        folder = pattern + "/";
        state = std::make_unique<AppState>(folder);
        state->Fields.platform = platform;
        state->Specification.SpecFileName = "Bench.zrs";
        state->Input.InputFile = folder + "input file.map";
        SetInputFile(state->Input, state->Fields, state->Input.InputFile);
        const std::string tool = folder + "tool.exe";
        WriteFileReplacing(tool, "");
        for (int p = 0; p < count; ++p) {
            const std::string name = ProgramName(p);
            auto& program = *state->Specification.Programs.emplace_back(std::make_unique<TZRGroup>(
                state->Fields, name, true, kDefaultExeFilter, name + ":"));
            program.ToolPath = tool;
            program.Run = true;
            state->Specification.Stages.push_back({name, true});
            state->Specification.LayoutLines.push_back("\"$ClassEXE='" + name +
                                                       "'\" $ClassParam='" + name +
                                                       "' \"$FilePath\\$FileName.$FileExt\"");
            for (int f = 0; f < kFieldsPerProgram; ++f) {
                AddField(program, f, ProgramName((p + 1) % count));
            }
        }
    }
    ~GeneratedChain() {
        state.reset();
        std::error_code ec;
        std::filesystem::remove_all(folder, ec);
    }

    QuietPlatform platform;
    std::string folder;
    std::unique_ptr<AppState> state;

  private:
    static void AddField(TZRGroup& program, int f, const std::string& next) {
        FieldDescription d;
        d.Caption = "Option " + std::to_string(f);
        d.Param = "-o" + std::to_string(f);
        d.Groups = f % 10 == 0 ? next : "";
        switch (f % 5) {
            case 0:
                program.AddCheckBox(d, false).SetChecked(true);
                break;
            case 1: {
                TZREditBox& edit = program.AddEditBox(d, TValue{});
                edit.SetChecked(true);
                edit.SetText("value " + std::to_string(f));
                break;
            }
            case 2: {
                TZRComboBox& combo = program.AddComboBox(d, "Fast");
                program.AddComboOption("Fast", "-f");
                program.AddComboOption("Small", "-s");
                combo.SetChecked(true);
                combo.SetText("Small");
                break;
            }
            case 3: {
                TZRBrowseBox& browse = program.AddBrowseBox(d, "file", kDefaultBrowseFilter);
                browse.SetChecked(true);
                browse.SetText("/data/in " + std::to_string(f) + ".txt");
                break;
            }
            default: {
                TZRColorBox& color = program.AddColorBox(d, 0x336699);
                color.SetChecked(true);
                break;
            }
        }
    }
};

void Finish(benchmark::State& run, const GeneratedChain& chain) {
    if (chain.platform.messages != 0) {
        run.SkipWithError(chain.platform.last.c_str());
    }
    run.SetItemsProcessed(run.iterations() *
                          static_cast<std::int64_t>(chain.state->Specification.Programs.size()));
}

void BM_WriteBatch(benchmark::State& run) {
    GeneratedChain chain(static_cast<int>(run.range(0)));
    const std::string path = chain.folder + "compile.bat";
    for (auto _ : run) {
        benchmark::DoNotOptimize(WriteBatch(chain.state->Specification, chain.state->Script, path));
    }
    Finish(run, chain);
}

// The preview is built again after every change of the form, so it must stay well within a
// keystroke's time for a large chain.
void BM_PreviewBatch(benchmark::State& run) {
    GeneratedChain chain(static_cast<int>(run.range(0)));
    for (auto _ : run) {
        benchmark::DoNotOptimize(PreviewBatch(chain.state->Specification, chain.state->Script));
    }
    Finish(run, chain);
}

void BM_PreviewStageBatch(benchmark::State& run) {
    GeneratedChain chain(static_cast<int>(run.range(0)));
    for (auto _ : run) {
        benchmark::DoNotOptimize(
            PreviewStageBatch(chain.state->Specification, chain.state->Script, 0));
    }
    Finish(run, chain);
}

void BM_WritePreset(benchmark::State& run) {
    GeneratedChain chain(static_cast<int>(run.range(0)));
    const std::string path = chain.folder + "bench.zrp";
    for (auto _ : run) {
        benchmark::DoNotOptimize(WritePreset(chain.state->Specification, chain.state->Input, path));
    }
    Finish(run, chain);
}

void BM_ReadPreset(benchmark::State& run) {
    GeneratedChain chain(static_cast<int>(run.range(0)));
    const std::string path = chain.folder + "bench.zrp";
    WritePreset(chain.state->Specification, chain.state->Input, path);
    const std::string written = PresetText(chain.state->Specification, chain.state->Input);
    for (auto _ : run) {
        benchmark::DoNotOptimize(
            ReadPreset(chain.state->Specification, chain.state->Input, path, PresetMode::Import));
    }
    if (PresetText(chain.state->Specification, chain.state->Input) != written) {
        run.SkipWithError("reading did not restore the preset");
    }
    Finish(run, chain);
}

BENCHMARK(BM_WriteBatch)->Arg(50)->Arg(200)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_PreviewBatch)->Arg(50)->Arg(200)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_PreviewStageBatch)->Arg(50)->Arg(200)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_WritePreset)->Arg(50)->Arg(200)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ReadPreset)->Arg(50)->Arg(200)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
