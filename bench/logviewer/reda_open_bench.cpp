// REDA's window opening generated logs of 200 MB and 1 GB and one line of 300 MB, each run
// in a fresh process so its peak resident memory is its own: the time to the first screen
// drawn, the time until every line is counted and classified, the longest time the window
// did not answer meanwhile, a search for the last line's word, and the peak resident memory.
// Run it with --benchmark_min_time=1x style repetitions; the logs are written once per run.

#include <benchmark/benchmark.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <QApplication>
#include <QLineEdit>
#include <QPixmap>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <memory>

#include "FindBar.h"
#include "GeneratedLogs.h"
#include "LogView.h"
#include "MainWindow.h"

namespace {

using Clock = std::chrono::steady_clock;
namespace fs = std::filesystem;

struct Figures {
    double firstScreenMs = 0;
    double completeMs = 0;
    double longestStallMs = 0;  // longest gap between two 5 ms ticks, minus the tick
    double searchMs = 0;
    double searchStallMs = 0;
    double peakMb = 0;
    bool ok = false;
};

double ms(Clock::duration d) {
    return std::chrono::duration<double, std::milli>(d).count();
}

// Runs in the child: everything a user's first minute with the log does.
Figures openInWindow(const fs::path& log) {
    Figures f;
    qputenv("QT_QPA_PLATFORM", "offscreen");
    int argc = 1;
    char name[] = "reda_open_bench";
    char* argv[] = {name, nullptr};
    QApplication app(argc, argv);
    QTemporaryDir settings;
    reda::MainWindow w((settings.path() + QStringLiteral("/REDA.ini")).toStdString());
    w.resize(1000, 700);
    w.show();
    QApplication::processEvents();

    // A tick every 5 ms: a late tick is a window that did not answer.
    Clock::time_point last = Clock::now();
    double stall = 0;
    QTimer tick;
    tick.setInterval(5);
    QObject::connect(&tick, &QTimer::timeout, [&] {
        const Clock::time_point now = Clock::now();
        stall = std::max(stall, ms(now - last) - 5);
        last = now;
    });

    const Clock::time_point start = Clock::now();
    w.openLog(QString::fromStdString(log.string()));
    const QPixmap shown = w.view()->viewport()->grab();
    f.firstScreenMs = ms(Clock::now() - start);
    benchmark::DoNotOptimize(shown.isNull());

    last = Clock::now();
    tick.start();
    while (!w.log().indexComplete() || !w.problems().finished(w.log())) {
        QApplication::processEvents(QEventLoop::WaitForMoreEvents, 5);
    }
    f.completeMs = ms(Clock::now() - start);
    f.longestStallMs = stall;

    // The last line's word, searched from the top.
    QTest::keyClick(&w, Qt::Key_Home, Qt::ControlModifier);
    QTest::keyClick(&w, Qt::Key_F, Qt::ControlModifier);
    w.findBar()
        ->findChild<QLineEdit*>(QStringLiteral("findEdit"))
        ->setText(QString::fromLatin1(reda::bench::kLastWord.data(),
                                      static_cast<int>(reda::bench::kLastWord.size())));
    stall = 0;
    last = Clock::now();
    const Clock::time_point searchStart = Clock::now();
    w.findNext();
    while (w.isSearching()) {
        QApplication::processEvents(QEventLoop::WaitForMoreEvents, 5);
    }
    f.searchMs = ms(Clock::now() - searchStart);
    f.searchStallMs = stall;
    f.ok = w.view()->hasSelection();

    struct rusage usage {};
    getrusage(RUSAGE_SELF, &usage);
    f.peakMb = static_cast<double>(usage.ru_maxrss) / 1024.0;
    return f;
}

Figures inChild(const fs::path& log) {
    int pipe[2];
    Figures f;
    if (::pipe(pipe) != 0) {
        return f;
    }
    const pid_t child = fork();
    if (child == 0) {
        ::close(pipe[0]);
        const Figures mine = openInWindow(log);
        (void)!::write(pipe[1], &mine, sizeof mine);
        ::_exit(0);
    }
    ::close(pipe[1]);
    if (::read(pipe[0], &f, sizeof f) != static_cast<ssize_t>(sizeof f)) {
        f.ok = false;
    }
    ::close(pipe[0]);
    int status = 0;
    waitpid(child, &status, 0);
    return f;
}

void report(benchmark::State& state, const fs::path& log) {
    Figures sum;
    Figures worst;
    int runs = 0;
    for (auto _ : state) {
        const Figures f = inChild(log);
        if (!f.ok) {
            state.SkipWithError("the last line's word was not found");
            return;
        }
        state.SetIterationTime(f.firstScreenMs / 1000);
        sum.completeMs += f.completeMs;
        sum.searchMs += f.searchMs;
        worst.longestStallMs = std::max(worst.longestStallMs, f.longestStallMs);
        worst.searchStallMs = std::max(worst.searchStallMs, f.searchStallMs);
        worst.peakMb = std::max(worst.peakMb, f.peakMb);
        ++runs;
    }
    state.counters["complete_ms"] = sum.completeMs / runs;
    state.counters["search_ms"] = sum.searchMs / runs;
    state.counters["stall_ms_max"] = worst.longestStallMs;
    state.counters["search_stall_ms_max"] = worst.searchStallMs;
    state.counters["peak_rss_mb"] = worst.peakMb;
}

void BM_OpenLog(benchmark::State& state) {
    report(state, reda::bench::logs().log(static_cast<std::size_t>(state.range(0))));
}

void BM_OpenProblemLog(benchmark::State& state) {
    report(state, reda::bench::logs().problems(static_cast<std::size_t>(state.range(0))));
}

void BM_OpenOneLongLine(benchmark::State& state) {
    report(state, reda::bench::logs().singleLine(static_cast<std::size_t>(state.range(0))));
}

}  // namespace

BENCHMARK(BM_OpenLog)
    ->Arg(200)
    ->Arg(1024)
    ->Unit(benchmark::kMillisecond)
    ->UseManualTime()
    ->Iterations(5);
BENCHMARK(BM_OpenProblemLog)
    ->Arg(200)
    ->Arg(1024)
    ->Unit(benchmark::kMillisecond)
    ->UseManualTime()
    ->Iterations(5);
BENCHMARK(BM_OpenOneLongLine)
    ->Arg(300)
    ->Unit(benchmark::kMillisecond)
    ->UseManualTime()
    ->Iterations(5);

BENCHMARK_MAIN();
