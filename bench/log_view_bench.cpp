// What the sentence log costs the window with a million rows in it: handing
// one tick's rows to the view in one insert against one insert per row, and
// repainting the list. Run: build/bench/ui_bench (QT_QPA_PLATFORM=offscreen).
#include <QApplication>
#include <QTest>
#include <benchmark/benchmark.h>

#include "form_layout.h"
#include "sentence_log_model.h"

namespace veltrane {
namespace {

constexpr std::size_t kRows = 1'000'000;
constexpr int kRowsPerTick = 10;  // one receiver's second of sentences
constexpr std::string_view kSentence = "GPGGA,123519,4807.038,N,01131.000,E,1,08,0.9,545.4,M,46.9,M,,*47";

struct ShownLog {
    SentenceLog log;
    SentenceLogModel model{log, {}};
    QTableView view;

    ShownLog()
    {
        for (std::size_t i = 0; i < kRows; ++i) log.insertFirst({2024, 3, 9, 14, 5, int(i % 60)}, kSentence);
        model.flush();
        configureLogList(view);
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
        s.view.scrollTo(s.model.index((step++ * 997) % static_cast<int>(kRows), 0));
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
