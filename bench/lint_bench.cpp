// Lint time of large specification files: the throughput should not fall with file size, also
// for files that are mostly layout lines naming programs or mostly findings.

#include <benchmark/benchmark.h>

#include <string>

#include "lint/Lint.h"

namespace {

using namespace kestrune;

// Programs with every field kind, each run by a layout line; every tenth program carries a
// few mistakes, so findings are built as well.
std::string MakeSpecification(std::size_t targetSize, bool mistakes) {
    std::string groups;
    std::string layout;
    for (int index = 0; groups.size() + layout.size() < targetSize; ++index) {
        // "_" ends each name, so no name begins another (Program1_, Program10_).
        const std::string n = std::to_string(index) + "_";
        const bool odd = mistakes && index % 10 == 0;
        layout += "    \"$ClassEXE=Program" + n + "\" $ClassParam=Program" + n +
                  " \"$FilePath/$FileName.$FileExt\" >> \"$FilePath/$FileName.log\" 2>&1\n";
        if (odd) {
            layout += "    echo \"see https://example.org/" + n + "\" $FilePth\n";
        }
        groups += "Group = Program" + n + "\n{\n    Name = Program " + n + "\n";
        groups += "    RequireExe = " + std::string(odd ? "ture" : "true") + "\n";
        groups += "    LabelBox = Options\n";
        groups += "    CheckBox = Verbose\n    {\n        " + std::string(odd ? "Parm" : "Param") +
                  " = -v\n        Groups = Program0_\n        Hint = Talks.\n        More of the "
                  "help text.\n    }\n";
        groups += "    EditBox = Level\n    {\n        Param = -l\n        Type = int\n";
        groups += "        Min = 0\n        Max = 9\n        Default = 3\n    }\n";
        groups += "    ComboBox = Mode\n    {\n        Default = Fast\n";
        groups += "        Options = Fast,-f|Small,-s|Best,-b\n    }\n";
        groups += "    BrowseBox = Out\n    {\n        Param = -o\n        Type = path\n    }\n";
        groups +=
            "    ColorBox = Tint\n    {\n        Param = -c\n        Color = 0 128 255\n    }\n";
        groups += "}\n";
    }
    return "Setup = Bench\n{\n    Author = Bench\n    Layout:\n" + layout + "}\n" + groups;
}

void BM_LintSpecification(benchmark::State& state) {
    const std::string text =
        MakeSpecification(static_cast<std::size_t>(state.range(0)) << 20, state.range(1) != 0);
    std::size_t findings = 0;
    for (auto _ : state) {
        findings = LintSpecification(text).size();
        benchmark::DoNotOptimize(findings);
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations()) *
                            static_cast<std::int64_t>(text.size()));
    state.SetComplexityN(static_cast<std::int64_t>(text.size()));
    state.counters["findings"] = static_cast<double>(findings);
}
BENCHMARK(BM_LintSpecification)
    ->ArgsProduct({{1, 10}, {0, 1}})
    ->ArgNames({"MB", "mistakes"})
    ->Unit(benchmark::kMillisecond);

// One layout line of 10 MB that names programs over and over, and one of only "$" words.
void BM_LintLongLayoutLine(benchmark::State& state) {
    std::string line;
    const std::string piece =
        state.range(0) == 0 ? "$ClassParam=Tool $ClassEXE=Tool " : "$FilePth$";
    while (line.size() < (std::size_t{10} << 20)) {
        line += piece;
    }
    const std::string text = "Setup = S\n{\nLayout:\n" + line +
                             "\n}\nGroup = Tool\n{\nRequireExe = true\nLabelBox = x\n}\n";
    for (auto _ : state) {
        benchmark::DoNotOptimize(LintSpecification(text).size());
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations()) *
                            static_cast<std::int64_t>(text.size()));
}
BENCHMARK(BM_LintLongLayoutLine)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
