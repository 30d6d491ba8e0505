// REDA's window offscreen on the generated logs: the time until the first screen is drawn,
// and the delay from an append to the new line drawn while following the end, with the
// file watcher and the poll timer doing what they do for a user.

#include <benchmark/benchmark.h>

#include <QApplication>
#include <QPixmap>
#include <QTemporaryDir>
#include <chrono>
#include <cstdint>
#include <fstream>
#include <memory>

#include "GeneratedLogs.h"
#include "LogView.h"
#include "MainWindow.h"

namespace {

using reda::bench::logs;
namespace fs = std::filesystem;

QApplication& application() {
    static int argc = 1;
    static char name[] = "reda_window_bench";
    static char* argv[] = {name, nullptr};
    static QApplication* app = [] {
        qputenv("QT_QPA_PLATFORM", "offscreen");
        return new QApplication(argc, argv);
    }();
    return *app;
}

std::unique_ptr<reda::MainWindow> window(const QTemporaryDir& settings) {
    auto w = std::make_unique<reda::MainWindow>(
        (settings.path() + QStringLiteral("/REDA.ini")).toStdString());
    w->resize(1000, 700);
    w->show();
    return w;
}

void BM_WindowFirstScreen(benchmark::State& state) {
    application();
    const fs::path& path = logs().log(static_cast<std::size_t>(state.range(0)));
    QTemporaryDir settings;
    for (auto _ : state) {
        auto w = window(settings);
        QApplication::processEvents();
        const auto start = std::chrono::steady_clock::now();
        w->openLog(QString::fromStdString(path.string()));
        const QPixmap shown = w->view()->viewport()->grab();
        const auto end = std::chrono::steady_clock::now();
        benchmark::DoNotOptimize(shown.isNull());
        state.SetIterationTime(std::chrono::duration<double>(end - start).count());
    }
}

void BM_WindowAppendToShown(benchmark::State& state) {
    application();
    const fs::path path = logs().scratch("window-growing.log");
    fs::copy_file(logs().log(static_cast<std::size_t>(state.range(0))), path,
                  fs::copy_options::overwrite_existing);
    QTemporaryDir settings;
    auto w = window(settings);
    w->openLog(QString::fromStdString(path.string()));
    // Let the classification of the copy finish, as it has long before a user appends.
    while (!w->problems().finished(w->log())) {
        QApplication::processEvents(QEventLoop::AllEvents, 50);
    }
    std::ofstream out(path, std::ios::binary | std::ios::app);
    const std::string line(79, 'a');
    for (auto _ : state) {
        const std::size_t before = w->log().lineCount();
        const auto start = std::chrono::steady_clock::now();
        out << line << '\n' << std::flush;
        while (w->log().lineCount() == before) {
            QApplication::processEvents(QEventLoop::WaitForMoreEvents, 5);
        }
        const QPixmap shown = w->view()->viewport()->grab();
        const auto end = std::chrono::steady_clock::now();
        benchmark::DoNotOptimize(shown.isNull());
        if (w->view()->firstVisibleLine() + w->view()->visibleLineCount() != w->log().lineCount()) {
            state.SkipWithError("the view did not follow the end");
            break;
        }
        state.SetIterationTime(std::chrono::duration<double>(end - start).count());
    }
    out.close();
    w.reset();
    fs::remove(path);
}

}  // namespace

BENCHMARK(BM_WindowFirstScreen)->Arg(10)->Arg(200)->Unit(benchmark::kMillisecond)->UseManualTime();
BENCHMARK(BM_WindowAppendToShown)
    ->Arg(200)
    ->Unit(benchmark::kMillisecond)
    ->UseManualTime()
    ->Iterations(50);

BENCHMARK_MAIN();
