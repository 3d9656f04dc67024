// SPDX-License-Identifier: BSD-2-Clause
// What the sentence log costs the window with a million rows in it: the heap
// each row takes in the whole window beyond its text, handing one tick's rows
// to the view in one insert against one insert per row, and repainting the
// list. Run: build/bench/ui_bench (QT_QPA_PLATFORM=offscreen).
#include <malloc.h>

#include <QApplication>
#include <QScrollBar>
#include <QTabWidget>
#include <QTest>
#include <benchmark/benchmark.h>

#include "form_layout.h"
#include "main_window.h"
#include "sentence_log_model.h"

namespace veltrane {
namespace {

constexpr std::size_t kRows = 1'000'000;
constexpr int kRowsPerTick = 10;  // one receiver's second of sentences
constexpr std::string_view kSentence = "GPGGA,123519,4807.038,N,01131.000,E,1,08,0.9,545.4,M,46.9,M,,*47";

// Every byte malloc has handed out and not taken back, Qt's containers included.
std::size_t heapInUse()
{
    const struct mallinfo2 info = mallinfo2();
    return info.uordblks + info.hblkhd;
}

// The real window on its "NMEA Data" page, its log grown from empty in ticks
// that go through the event loop as a receiver's would, and painted: what the
// process keeps per row beyond the sentence's characters.
void BM_WindowBytesPerRow(benchmark::State& state)
{
    const auto rows = static_cast<std::size_t>(state.range(0));
    constexpr std::size_t kRowsPerGrowth = 1000;  // a thousand ticks to a million rows
    double overhead = 0;
    for (auto _ : state) {
        MainWindow window{CommMap(std::string())};
        window.findChild<QTabWidget*>(QStringLiteral("tabs"))->setCurrentIndex(1);
        window.show();
        if (!QTest::qWaitForWindowExposed(&window)) std::abort();
        const QAbstractItemModel& shown = *window.findChild<LogListView*>(QStringLiteral("logList"))->model();
        window.repaint();
        const std::size_t before = heapInUse();
        SentenceLog& log = window.monitor().log();
        while (log.size() < rows) {
            for (std::size_t i = 0; i < kRowsPerGrowth; ++i) log.insertFirst({2024, 3, 9, 14, 5, int(i % 60)}, kSentence);
            if (!QTest::qWaitFor([&] { return std::size_t(shown.rowCount()) == log.size(); })) std::abort();
            window.repaint();
        }
        const double textBytes = static_cast<double>(log.size() * kSentence.size());
        overhead = (static_cast<double>(heapInUse() - before) - textBytes) / static_cast<double>(log.size());
    }
    state.counters["bytes_per_row_beyond_text"] = overhead;
}
BENCHMARK(BM_WindowBytesPerRow)->ArgName("rows")->Arg(100'000)->Arg(kRows)->Iterations(1)->Unit(benchmark::kMillisecond);

struct ShownLog {
    SentenceLog log;
    SentenceLogModel model{log, {}};
    LogListView view;

    ShownLog()
    {
        for (std::size_t i = 0; i < kRows; ++i) log.insertFirst({2024, 3, 9, 14, 5, int(i % 60)}, kSentence);
        model.flush();
        showLog(view, model);
        view.resize(456, 284);
        view.show();
        if (!QTest::qWaitForWindowExposed(&view)) std::abort();
        view.repaint();
    }
};

ShownLog& shownLog()
{
    static ShownLog shown;
    return shown;
}

void BM_TickInOneInsert(benchmark::State& state)
{
    ShownLog& s = shownLog();
    for (auto _ : state) {
        for (int i = 0; i < kRowsPerTick; ++i) s.log.insertFirst({2024, 3, 9, 14, 6, i}, kSentence);
        s.model.flush();
        s.view.repaint();
    }
    state.counters["rows"] = static_cast<double>(s.log.size());
}
BENCHMARK(BM_TickInOneInsert)->Unit(benchmark::kMillisecond);

void BM_TickOneInsertPerRow(benchmark::State& state)
{
    ShownLog& s = shownLog();
    for (auto _ : state) {
        for (int i = 0; i < kRowsPerTick; ++i) {
            s.log.insertFirst({2024, 3, 9, 14, 6, i}, kSentence);
            s.model.flush();
            s.view.repaint();
        }
    }
    state.counters["rows"] = static_cast<double>(s.log.size());
}
BENCHMARK(BM_TickOneInsertPerRow)->Unit(benchmark::kMillisecond);

void BM_ScrollAPage(benchmark::State& state)
{
    ShownLog& s = shownLog();
    int step = 0;
    for (auto _ : state) {
        s.view.verticalScrollBar()->setValue((step++ * 997) % static_cast<int>(kRows));
        s.view.repaint();
    }
}
BENCHMARK(BM_ScrollAPage)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace veltrane

int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
