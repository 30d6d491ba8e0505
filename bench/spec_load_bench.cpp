// Loading time of large specification files; the throughput should not fall with file size.

#include <benchmark/benchmark.h>

#include <filesystem>
#include <fstream>
#include <map>
#include <memory>
#include <string>

#include <unistd.h>

#include "app/AppState.h"
#include "base/NullPlatform.h"
#include "specification/SpecLoader.h"

namespace {

namespace fs = std::filesystem;
using namespace kestrune;

using QuietPlatform = NullPlatform;

void AppendGroup(std::string& text, int index) {
    const std::string n = std::to_string(index);
    text += "Group = Program" + n + "\r\n{\r\n";
    text += "    Name = Program number " + n + "  // shown on the tab\r\n";
    text += "    RequireExe = " + std::string(index % 3 == 0 ? "True" : "False") + "\r\n";
    text += "    ExeFilter = Program" + n + " (prog" + n + ".exe)|prog" + n + ".exe\r\n";
    text += "    LabelBox = General options\r\n";
    for (int i = 0; i < 6; ++i) {
        const std::string f = std::to_string(i);
        text += "    CheckBox = Switch " + f + "\r\n    {\r\n";
        text += "        Param = -switch" + f + "\r\n";
        if (i % 2 == 0) {
            text += "        BatchCommand = true\r\n        Param = echo step " + f + "\r\n";
        }
        text += "        Groups = Program" + std::to_string(index + 1) + "\r\n";
        text += "        Hint = Turns switch " + f + " on for every input file.\r\n";
        text += "        It is ignored by older versions of the tool.\r\n    }\r\n";
    }
    text += "    Spaces = 1\r\n";
    for (int i = 0; i < 4; ++i) {
        const std::string f = std::to_string(i);
        text += "    EditBox = Value " + f + "\r\n    {\r\n";
        text += "        Param = -value" + f + "\r\n";
        text += "        Type = " + std::string(i % 2 == 0 ? "int" : "float") + "\r\n";
        text += "        Default = " + f + "0\r\n        Min = -100\r\n        Max = 1e6\r\n";
        text += "        RoundTo = -2\r\n        Width = 2\r\n";
        text += "        Hint = A number between -100 and one million.\r\n    }\r\n";
    }
    text += "    ComboBox = Mode\r\n    {\r\n        Param = -mode\r\n        Default = Fast\r\n";
    text += "        Options = Fast, fast | Normal, normal | Slow, slow | Exhaustive, full\r\n";
    text += "        Hint = How hard the tool tries.\r\n    }\r\n";
    text += "    BrowseBox = Output folder\r\n    {\r\n        Param = -out \"$FileDest\"\r\n";
    text += "        Type = path\r\n        Filter = All Files (*.*)|*.*\r\n    }\r\n";
    text += "    ColorBox = Background\r\n    {\r\n        Param = -bg\r\n";
    text += "        Color = 255 128 0\r\n        Bold = true\r\n    }\r\n";
    text += "}\r\n\r\n";
}

std::string MakeSpecification(std::size_t targetSize) {
    std::string text = "// Generated tool chain\r\nSetup = Benchmark chain\r\n{\r\n";
    text += "    Author = Bench\r\n    Program = Engine\r\n    Filter = Maps (*.map)|*.map\r\n";
    text += "    Link = www.example.org/help | Help\r\n    Layout:\r\n";
    for (int i = 0; i < 40; ++i) {
        text += "    $ClassEXE=Program" + std::to_string(i * 3) + " $ClassParam=Program" +
                std::to_string(i * 3) + " \"$FilePath\\$FileName.$FileExt\"\r\n";
    }
    text += "}\r\n\r\n";
    for (int index = 0; text.size() < targetSize; ++index) {
        AppendGroup(text, index);
    }
    return text;
}

struct BenchFolder {
    BenchFolder() {
        path = fs::temp_directory_path() / ("kestrune-spec-bench-" + std::to_string(::getpid()));
        fs::create_directories(path / "SpecFiles");
    }
    ~BenchFolder() {
        std::error_code ec;
        fs::remove_all(path, ec);
    }
    // The file of about `size` bytes, written once.
    const std::pair<std::string, std::size_t>& File(std::size_t size) {
        auto found = files.find(size);
        if (found == files.end()) {
            const std::string text = MakeSpecification(size);
            const fs::path file = path / "SpecFiles" / ("bench" + std::to_string(size) + ".zrs");
            std::ofstream(file, std::ios::binary)
                .write(text.data(), static_cast<std::streamsize>(text.size()));
            found = files.emplace(size, std::make_pair(file.string(), text.size())).first;
        }
        return found->second;
    }

    fs::path path;
    std::map<std::size_t, std::pair<std::string, std::size_t>> files;
};

BenchFolder& Folder() {
    static BenchFolder folder;
    return folder;
}

void Report(benchmark::State& bench, const AppState& state, std::size_t bytes) {
    if (state.Specification.Programs.empty() || state.Specification.SpecName != "Benchmark chain") {
        bench.SkipWithError("the generated specification did not load");
    }
    bench.SetBytesProcessed(static_cast<std::int64_t>(bench.iterations()) *
                            static_cast<std::int64_t>(bytes));
    bench.counters["programs"] = static_cast<double>(state.Specification.Programs.size());
}

// Loading over a previous model of the same size, as choosing another specification does: the
// time includes freeing the old programs, which for large models is bound by memory latency.
void BM_ReloadSpecification(benchmark::State& bench, std::size_t size) {
    const auto& [file, bytes] = Folder().File(size);
    QuietPlatform quiet;
    AppState state(Folder().path.string());
    state.Fields.platform = quiet;
    for (auto _ : bench) {
        LoadSpecification(state.Specification, state.Input, file);
        benchmark::DoNotOptimize(state.Specification.Programs.data());
    }
    Report(bench, state, bytes);
}

// Reading a file into an empty state.
void BM_LoadSpecification(benchmark::State& bench, std::size_t size) {
    const auto& [file, bytes] = Folder().File(size);
    QuietPlatform quiet;
    auto state = std::make_unique<AppState>(Folder().path.string());
    for (auto _ : bench) {
        bench.PauseTiming();
        state = std::make_unique<AppState>(Folder().path.string());
        state->Fields.platform = quiet;
        bench.ResumeTiming();
        LoadSpecification(state->Specification, state->Input, file);
    }
    Report(bench, *state, bytes);
}

BENCHMARK_CAPTURE(BM_LoadSpecification, 1MB, std::size_t{1} << 20)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_LoadSpecification, 10MB, std::size_t{10} << 20)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_ReloadSpecification, 1MB, std::size_t{1} << 20)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_ReloadSpecification, 10MB, std::size_t{10} << 20)
    ->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
