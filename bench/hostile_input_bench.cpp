// Inputs that once cost the square of their size or a hundred times their size in memory:
// script building over thousands of programs, settings files with huge recent lists, and
// specifications of many tiny programs. Time per program (per line) should stay flat from the
// small to the large size; "live_bytes_per_file_byte" should stay well under 20.

#include <benchmark/benchmark.h>
#include <malloc.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <memory>
#include <new>
#include <string>

#include "app/AppState.h"
#include "app/Main.h"
#include "base/NullPlatform.h"
#include "script/BatchBuilder.h"
#include "specification/SpecLoader.h"

// Live heap bytes, for the memory a loaded specification keeps.
namespace {
std::size_t liveBytes = 0;
}  // namespace

void* operator new(std::size_t size) {
    void* p = std::malloc(size == 0 ? 1 : size);
    if (p == nullptr) {
        throw std::bad_alloc();
    }
    liveBytes += malloc_usable_size(p);
    return p;
}

// These are the replacements of the operators, so freeing what they allocated is right.
#if defined(__GNUC__) && !defined(__clang__)
#pragma GCC diagnostic ignored "-Wmismatched-new-delete"
#endif

void operator delete(void* p) noexcept {
    if (p != nullptr) {
        liveBytes -= malloc_usable_size(p);
        std::free(p);
    }
}

void operator delete(void* p, std::size_t) noexcept {
    operator delete(p);
}

namespace {

namespace fs = std::filesystem;
using namespace kestrune;

class CountingPlatform : public NullPlatform {
  public:
    void ShowMessage(MessageKind, const std::string&) override { ++messages; }
    int messages = 0;
};

// A folder in memory where possible, since every build writes and syncs its script.
struct Folder {
    Folder() {
        std::error_code ec;
        const fs::path base =
            fs::is_directory("/dev/shm", ec) ? fs::path("/dev/shm") : fs::temp_directory_path();
        path = base / ("kestrune-hostile-bench-" + std::to_string(::getpid()));
        fs::create_directories(path / "SpecFiles");
        fs::create_directories(path / "Config");
        fs::create_directories(path / "files");
    }
    ~Folder() {
        std::error_code ec;
        fs::remove_all(path, ec);
    }
    std::string Write(const std::string& relative, const std::string& text) const {
        const fs::path file = path / relative;
        std::ofstream(file, std::ios::binary)
            .write(text.data(), static_cast<std::streamsize>(text.size()));
        return file.string();
    }
    fs::path path;
};

Folder& TheFolder() {
    static Folder folder;
    return folder;
}

// `count` stages, each with three ticked check boxes of which one lends to the next program,
// and one layout line per program naming its executable and command line.
std::string ChainSpecification(int count) {
    std::string text = "Setup = Hostile chain\r\n{\r\nLayout:\r\n";
    for (int i = 0; i < count; ++i) {
        const std::string n = std::to_string(i);
        text += "$ClassEXE=P" + n + "x $ClassParam=P" + n + "x \"$FilePath\\$FileName.map\"\r\n";
    }
    text += "}\r\n";
    for (int i = 0; i < count; ++i) {
        const std::string n = std::to_string(i);
        text += "Group = P" + n + "x\r\n{\r\nRequireExe = True\r\n";
        text += "CheckBox = A\r\n{\r\nParam = -a" + n + "\r\n}\r\n";
        text += "CheckBox = B\r\n{\r\nParam = -b" + n + "\r\nGroups = P" + std::to_string(i + 1) +
                "x\r\n}\r\n";
        text += "CheckBox = C\r\n{\r\nParam = -c $FileName\r\n}\r\n}\r\n";
    }
    return text;
}

void BM_BuildScript(benchmark::State& bench) {
    const int count = static_cast<int>(bench.range(0));
    const Folder& folder = TheFolder();
    const std::string spec =
        folder.Write("SpecFiles/chain" + std::to_string(count) + ".zrs", ChainSpecification(count));
    const std::string tool = folder.Write("tool.exe", "");
    const std::string input = folder.Write("level.map", "");
    CountingPlatform platform;
    AppState state(folder.path.string() + "/");
    state.Fields.platform = platform;
    LoadSpecification(state.Specification, state.Input, spec);
    SetInputFile(state.Input, state.Fields, input);
    for (const auto& program : state.Specification.Programs) {
        program->ToolPath = tool;
        program->Run = true;
        program->ForEachField([](auto& field) { field.SetChecked(true); });
    }
    const std::string script = (folder.path / "compile.sh").string();
    for (auto _ : bench) {
        benchmark::DoNotOptimize(WriteBatch(state.Specification, state.Script, script));
    }
    if (platform.messages != 0 ||
        state.Specification.Programs.size() != static_cast<std::size_t>(count)) {
        bench.SkipWithError("the chain did not build");
    }
    bench.counters["programs"] = static_cast<double>(count);
    bench.counters["per_program"] = benchmark::Counter(
        static_cast<double>(count),
        benchmark::Counter::kIsIterationInvariantRate | benchmark::Counter::kInvert);
}
BENCHMARK(BM_BuildScript)->Arg(2000)->Arg(8000)->Unit(benchmark::kMillisecond);

// One layout line that names every one of range(0) programs, each of which has one ticked
// check box: the whole script is that one line. With range(1) set, every command line names the
// next program, so every replacement forms a new variable and the line is looked at again after
// each one, up to the work limit; "refused" tells whether the limit stopped it.
void BM_WideLayoutLine(benchmark::State& bench) {
    const int count = static_cast<int>(bench.range(0));
    const bool chained = bench.range(1) != 0;
    std::string text = "Setup = Wide\r\n{\r\nLayout:\r\n";
    for (int i = 0; i < count; ++i) {
        text += "$ClassParam=W" + std::to_string(i) + "x ";
    }
    text += "\r\n}\r\n";
    for (int i = 0; i < count; ++i) {
        const std::string param =
            chained ? "$ClassParam=W" + std::to_string(i + 1) + "x" : "-a" + std::to_string(i);
        text += "Group = W" + std::to_string(i) +
                "x\r\n{\r\nCheckBox = A\r\n{\r\nParam = " + param + "\r\n}\r\n}\r\n";
    }
    const Folder& folder = TheFolder();
    const std::string spec = folder.Write("SpecFiles/wide.zrs", text);
    CountingPlatform platform;
    AppState state(folder.path.string() + "/");
    state.Fields.platform = platform;
    LoadSpecification(state.Specification, state.Input, spec);
    for (const auto& program : state.Specification.Programs) {
        program->ForEachField([](auto& field) { field.SetChecked(true); });
    }
    const std::string script = (folder.path / "compile.sh").string();
    bool written = false;
    for (auto _ : bench) {
        written = WriteBatch(state.Specification, state.Script, script);
    }
    if (state.Specification.Programs.size() != static_cast<std::size_t>(count) ||
        (!chained && !written)) {
        bench.SkipWithError("the line did not build");
    }
    bench.counters["refused"] = written ? 0 : 1;
    bench.counters["per_program"] = benchmark::Counter(
        static_cast<double>(count),
        benchmark::Counter::kIsIterationInvariantRate | benchmark::Counter::kInvert);
}
BENCHMARK(BM_WideLayoutLine)
    ->ArgsProduct({{500, 2000, 8000}, {0, 1}})
    ->Unit(benchmark::kMillisecond);

// A settings file that keeps every recent entry ("RecentFiles" at its largest), with `count`
// lines naming different existing files.
void BM_ReadSettings(benchmark::State& bench) {
    const int count = static_cast<int>(bench.range(0));
    const Folder& folder = TheFolder();
    std::string text = "[Kestrune]\r\nRecentFiles = 2147483647\r\n[Recent Files]\r\n";
    for (int i = 0; i < count; ++i) {
        const fs::path file = folder.path / "files" / ("f" + std::to_string(i));
        if (!fs::exists(file)) {
            std::ofstream(file).put('x');
        }
        text += (i % 2 == 0 ? "RecentFile = " : "RecentPreset = ") + file.string() + "\r\n";
    }
    const std::string settings = folder.Write("Config/config.ini", text);
    CountingPlatform platform;
    for (auto _ : bench) {
        TfrmMain window(platform, folder.path.string() + "/");
        window.ReadSettings(settings);
        benchmark::DoNotOptimize(window.State().RecentFileList.data());
        if (window.State().RecentFileList.size() + window.State().RecentPresetList.size() !=
            static_cast<std::size_t>(count)) {
            bench.SkipWithError("entries were lost");
        }
    }
    bench.counters["lines"] = static_cast<double>(count);
    bench.counters["per_line"] = benchmark::Counter(
        static_cast<double>(count),
        benchmark::Counter::kIsIterationInvariantRate | benchmark::Counter::kInvert);
}
BENCHMARK(BM_ReadSettings)->Arg(25000)->Arg(100000)->Unit(benchmark::kMillisecond);

// Live heap bytes that loading `text` as a specification keeps, per byte of the file; the
// loaded program count goes to `programs`.
double LiveBytesPerFileByte(benchmark::State& bench, const std::string& text,
                            std::size_t& programs) {
    const std::string spec = TheFolder().Write("SpecFiles/memory.zrs", text);
    CountingPlatform platform;
    double ratio = 0;
    for (auto _ : bench) {
        const std::size_t before = liveBytes;
        auto state = std::make_unique<AppState>(TheFolder().path.string() + "/");
        state->Fields.platform = platform;
        LoadSpecification(state->Specification, state->Input, spec);
        ratio = static_cast<double>(liveBytes - before) / static_cast<double>(text.size());
        programs = state->Specification.Programs.size();
    }
    return ratio;
}

// Memory kept by a specification of tiny programs (a group, its brace and one element line
// each) of about `megabytes` MB.
void BM_TinyProgramsMemory(benchmark::State& bench) {
    const auto target = static_cast<std::size_t>(bench.range(0)) << 20;
    std::string text = "Setup = Tiny\r\n{\r\n}\r\n";
    for (int i = 0; text.size() < target; ++i) {
        text += "Group = P" + std::to_string(i) + "\r\n{\r\nLabelBox = L\r\n}\r\n";
    }
    std::size_t programs = 0;
    const double ratio = LiveBytesPerFileByte(bench, text, programs);
    bench.counters["programs"] = static_cast<double>(programs);
    bench.counters["file_bytes_per_program"] =
        static_cast<double>(text.size()) / static_cast<double>(programs);
    bench.counters["live_bytes_per_file_byte"] = ratio;
}
BENCHMARK(BM_TinyProgramsMemory)->Arg(2)->Arg(20)->Unit(benchmark::kMillisecond)->Iterations(1);

// Memory kept by one program of about 20 MB of the smallest element blocks of one kind
// (0 check box, 1 edit box, 2 combo box, 3 browse box, 4 colour box).
void BM_TinyFieldsMemory(benchmark::State& bench) {
    static const char* const kKinds[] = {"checkbox", "editbox", "combobox", "browsebox",
                                         "colorbox"};
    const char* kind = kKinds[bench.range(0)];
    std::string text = "Setup = Tiny\r\n{\r\n}\r\nGroup = P\r\n{\r\n";
    std::size_t fields = 0;
    for (; text.size() < (std::size_t{20} << 20); ++fields) {
        text += std::string(kind) + "=a\r\n{\r\n}\r\n";
    }
    std::size_t programs = 0;
    const double ratio = LiveBytesPerFileByte(bench, text, programs);
    bench.SetLabel(kind);
    bench.counters["fields"] = static_cast<double>(fields);
    bench.counters["live_bytes_per_file_byte"] = ratio;
}
BENCHMARK(BM_TinyFieldsMemory)->DenseRange(0, 4)->Unit(benchmark::kMillisecond)->Iterations(1);

// Memory kept by one check box that lends to about 20 MB of program names of range(0) letters
// each, so 0 gives some twenty million empty names.
void BM_LendingNamesMemory(benchmark::State& bench) {
    const std::string name = std::string(static_cast<std::size_t>(bench.range(0)), 'n') + ",";
    std::string text = "Setup = Tiny\r\n{\r\n}\r\nGroup = P\r\n{\r\ncheckbox=a\r\n{\r\ngroups=";
    while (text.size() < (std::size_t{20} << 20)) {
        text += name;
    }
    text += "\r\n}\r\n}\r\n";
    std::size_t programs = 0;
    bench.counters["live_bytes_per_file_byte"] = LiveBytesPerFileByte(bench, text, programs);
}
BENCHMARK(BM_LendingNamesMemory)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond)->Iterations(1);

// Memory kept by one combo box with about 20 MB of options, each the shortest name not used
// yet and an empty value ("a,|b,|…|aa,|…").
void BM_ComboOptionsMemory(benchmark::State& bench) {
    static constexpr std::string_view kLetters = "abcdefghijklmnopqrstuvwxyz0123456789";
    std::string text = "Setup = Tiny\r\n{\r\n}\r\nGroup = P\r\n{\r\ncombobox=a\r\n{\r\noptions=";
    std::size_t options = 0;
    for (; text.size() < (std::size_t{20} << 20); ++options) {
        std::string name;
        for (std::size_t n = options; name.empty() || n > 0; n /= kLetters.size()) {
            name += kLetters[n % kLetters.size()];
        }
        text += name + ",|";
    }
    text += "\r\n}\r\n}\r\n";
    std::size_t programs = 0;
    bench.counters["options"] = static_cast<double>(options);
    bench.counters["live_bytes_per_file_byte"] = LiveBytesPerFileByte(bench, text, programs);
}
BENCHMARK(BM_ComboOptionsMemory)->Unit(benchmark::kMillisecond)->Iterations(1);

// Memory kept by about 20 MB of one-letter layout lines ended by LF alone.
void BM_LayoutLinesMemory(benchmark::State& bench) {
    std::string text = "Setup = Tiny\n{\nLayout:\n";
    text.reserve(std::size_t{21} << 20);
    while (text.size() < (std::size_t{20} << 20)) {
        text += "x\n";
    }
    text += "}\n";
    std::size_t programs = 0;
    bench.counters["live_bytes_per_file_byte"] = LiveBytesPerFileByte(bench, text, programs);
}
BENCHMARK(BM_LayoutLinesMemory)->Unit(benchmark::kMillisecond)->Iterations(1);

}  // namespace

BENCHMARK_MAIN();
