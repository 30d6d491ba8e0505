// REDA on generated logs of 10 MB and 200 MB (about 80 bytes a line): the first screen, the
// whole index, finding the last match of a word, the error/warning count, memory per line,
// and the work between an append and the line being ready to draw. The logs are written to
// a temporary folder at start and removed at exit.

#include <benchmark/benchmark.h>

#include <cstdint>
#include <filesystem>
#include <fstream>
#include <string>

#include "GeneratedLogs.h"
#include "LineDecoder.h"
#include "LogFile.h"
#include "ProblemIndex.h"
#include "TextFinder.h"

namespace fs = std::filesystem;

namespace {

constexpr std::size_t kScreenLines = 50;
constexpr std::size_t kScreenColumns = 200;

using reda::bench::kLastWord;
using reda::bench::logs;

void setBytes(benchmark::State& state, std::uint64_t bytes) {
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * bytes));
}

// Opens the log, indexes its end (a large log counts the rest on a worker) and decodes the
// last screen, as the window does on start.
void BM_FirstScreen(benchmark::State& state) {
    const fs::path& path = logs().log(static_cast<std::size_t>(state.range(0)));
    std::size_t columns = 0;
    for (auto _ : state) {
        reda::LogFile log;
        log.setPath(path);
        log.poll();
        const std::size_t count = log.lineCount();
        for (std::size_t line = count - kScreenLines; line < count; ++line) {
            columns += reda::decodeLine(log.line(line), kScreenColumns).text.size();
        }
    }
    benchmark::DoNotOptimize(columns);
}

void BM_IndexWholeFile(benchmark::State& state) {
    const fs::path& path = logs().log(static_cast<std::size_t>(state.range(0)));
    std::uint64_t bytes = 0;
    std::size_t lines = 0;
    std::size_t memory = 0;
    for (auto _ : state) {
        reda::LogFile log;
        log.setEndFirstBytes(UINT64_MAX);  // the whole index at once
        log.setPath(path);
        log.poll();
        bytes = log.bytes().size();
        lines = log.lineCount();
        memory = log.index().memoryBytes();
    }
    setBytes(state, bytes);
    state.counters["lines"] = static_cast<double>(lines);
    state.counters["index_bytes_per_line"] =
        static_cast<double>(memory) / static_cast<double>(lines);
}

void BM_FindLastMatch(benchmark::State& state) {
    const fs::path& path = logs().log(static_cast<std::size_t>(state.range(0)));
    reda::LogFile log;
    log.setEndFirstBytes(UINT64_MAX);  // the whole index at once
    log.setPath(path);
    log.poll();
    const reda::TextFinder finder(kLastWord, reda::FindOptions{false, true});
    std::size_t found = 0;
    for (auto _ : state) {
        found = finder.next(log.bytes(), 0);
        benchmark::DoNotOptimize(found);
    }
    if (found == reda::TextFinder::npos || log.index().lineAt(found) + 1 != log.lineCount()) {
        state.SkipWithError("the last line's word was not found");
    }
    setBytes(state, log.bytes().size());
}

void countErrorsAndWarnings(benchmark::State& state, const fs::path& path) {
    reda::LogFile log;
    log.setEndFirstBytes(UINT64_MAX);  // the whole index at once
    log.setPath(path);
    log.poll();
    std::size_t errors = 0;
    std::size_t memory = 0;
    for (auto _ : state) {
        reda::ProblemIndex problems;
        problems.advance(log, SIZE_MAX);
        errors = problems.errorCount(log);
        memory = problems.memoryBytes() + log.index().memoryBytes();
    }
    setBytes(state, log.bytes().size());
    state.counters["errors"] = static_cast<double>(errors);
    state.counters["bytes_per_line"] =
        static_cast<double>(memory) / static_cast<double>(log.lineCount());
}

void BM_CountErrorsAndWarnings(benchmark::State& state) {
    countErrorsAndWarnings(state, logs().log(static_cast<std::size_t>(state.range(0))));
}

// Nearly every line a problem: the index stays at a bit per line and kind.
void BM_CountWhereMostLinesAreProblems(benchmark::State& state) {
    countErrorsAndWarnings(state, logs().problems(static_cast<std::size_t>(state.range(0))));
}

// An 80-byte line appended to a followed log, then one poll and the decode of the new last
// line: the work the window does between the poll tick and drawing it.
void BM_AppendToShown(benchmark::State& state) {
    const fs::path path = logs().scratch("growing.log");
    fs::copy_file(logs().log(static_cast<std::size_t>(state.range(0))), path,
                  fs::copy_options::overwrite_existing);
    reda::LogFile log;
    log.setEndFirstBytes(UINT64_MAX);  // the whole index at once
    log.setPath(path);
    log.poll();
    reda::ProblemIndex problems;
    problems.advance(log, SIZE_MAX);
    std::ofstream out(path, std::ios::binary | std::ios::app);
    const std::string line(79, 'a');
    for (auto _ : state) {
        out << line << '\n' << std::flush;
        if (log.poll() != reda::LogFile::Change::Appended) {
            state.SkipWithError("append not seen");
            break;
        }
        problems.advance(log, SIZE_MAX);
        benchmark::DoNotOptimize(reda::decodeLine(log.line(log.lineCount() - 1), kScreenColumns));
    }
    out.close();
    fs::remove(path);
}

}  // namespace

BENCHMARK(BM_FirstScreen)->Arg(10)->Arg(200)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_IndexWholeFile)->Arg(10)->Arg(200)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_FindLastMatch)->Arg(10)->Arg(200)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_CountErrorsAndWarnings)
    ->Arg(10)
    ->Arg(200)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();
BENCHMARK(BM_CountWhereMostLinesAreProblems)
    ->Arg(10)
    ->Arg(200)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();
BENCHMARK(BM_AppendToShown)->Arg(200)->Unit(benchmark::kMicrosecond)->UseRealTime();

BENCHMARK_MAIN();
