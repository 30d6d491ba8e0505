// The help reader and the draft writer on help texts of 64 KB to 1 MB: the time per byte stays
// flat (the fitted complexity is O(N)), for a realistic text and for a hostile one-line text.
#include <benchmark/benchmark.h>

#include <fstream>
#include <sstream>
#include <string>

#include "draft/DraftWriter.h"
#include "draft/HelpReader.h"

namespace {

std::string Fixture(const char* name) {
    std::ifstream in(std::string(KESTRUNE_HELP_DATA_DIR) + "/" + name, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

// Real help texts one after another up to `size` bytes: many sections, all styles.
std::string RealisticHelp(std::size_t size) {
    const std::string pieces = Fixture("curl.txt") + Fixture("tar.txt") + Fixture("ffmpeg.txt") +
                               Fixture("sox.txt") + Fixture("python-calendar.txt");
    std::string text;
    text.reserve(size + pieces.size());
    while (text.size() < size) {
        text += pieces;
    }
    text.resize(size);
    return text;
}

// One line of option-like noise with brackets that never close.
std::string HostileLine(std::size_t size) {
    std::string text = "-a ";
    while (text.size() < size) {
        text += "<[{ -b=(default: x --c, ";
    }
    text.resize(size);
    return text;
}

void Measure(benchmark::State& state, const std::string& text) {
    for (auto _ : state) {
        const kestrune::HelpText help = kestrune::ReadHelpText(text);
        benchmark::DoNotOptimize(
            kestrune::WriteDraft(help, {"Bench", "bench", "/usr/bin/bench"}).fieldCount);
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * text.size()));
    state.SetComplexityN(static_cast<std::int64_t>(text.size()));
}

void BM_DraftFromRealisticHelp(benchmark::State& state) {
    Measure(state, RealisticHelp(static_cast<std::size_t>(state.range(0))));
}
BENCHMARK(BM_DraftFromRealisticHelp)
    ->RangeMultiplier(4)
    ->Range(64 << 10, 1 << 20)
    ->Complexity(benchmark::oN);

void BM_DraftFromOneHostileLine(benchmark::State& state) {
    Measure(state, HostileLine(static_cast<std::size_t>(state.range(0))));
}
BENCHMARK(BM_DraftFromOneHostileLine)
    ->RangeMultiplier(4)
    ->Range(64 << 10, 1 << 20)
    ->Complexity(benchmark::oN);

}  // namespace

BENCHMARK_MAIN();
