// SPDX-License-Identifier: BSD-2-Clause
#include <QElapsedTimer>
#include <QEventLoop>
#include <QTimer>
#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <memory>
#include <string>

#include "event_loop_waits.h"
#include "fixed_clock.h"
#include "live_monitor.h"
#include "pty_flood.h"
#include "pty_pair.h"
#include "qt_detection_loop.h"

namespace veltrane {
namespace {

using namespace std::chrono_literals;
using testing::FixedClock;
using testing::PtyPair;
using testing::PtyFlood;

// A recognised sentence with a valid checksum, told apart from every other by its serial number.
std::string numberedSentence(std::uint64_t serial)
{
    const std::string body = "GPVTG," + std::to_string(serial) + ",T,,M,0.0,N,0.0,K";
    unsigned sum = 0;
    for (const char c : body) sum ^= static_cast<unsigned char>(c);
    char checksum[4];
    std::snprintf(checksum, sizeof checksum, "*%02X", sum);
    return "$" + body + checksum + "\r\n";
}

// The row a whole sentence makes: the serial number decides what it must read.
bool isOneSentenceSent(std::string row)
{
    while (!row.empty() && (row.back() == '\r' || row.back() == '\n')) row.pop_back();
    const std::size_t comma = row.find(',');
    if (comma == std::string::npos) return false;
    const std::string serial = row.substr(comma + 1, row.find(',', comma + 1) - comma - 1);
    if (serial.empty() || serial.find_first_not_of("0123456789") != std::string::npos || serial.size() > 18)
        return false;
    const std::string sent = numberedSentence(std::stoull(serial));
    return row == sent.substr(1, sent.size() - 3);
}

// A monitor on Comm 1, whose receiver writes numbered sentences far faster
// than any serial line once the flood starts.
class FloodTest : public ::testing::Test {
protected:
    FloodTest()
    {
        monitor_ = std::make_unique<LiveMonitor>(clock_, CommMap("1=" + receiver_.path()));
        monitor_->selectFirstEntries();
    }
    ~FloodTest() override
    {
        if (flood_) flood_->stop();
        monitor_->close();
    }

    void startFlood()
    {
        flood_ = std::make_unique<PtyFlood>(receiver_, [this] {
            std::string batch;
            for (int i = 0; i < 64; ++i) batch += numberedSentence(++sent_);
            return batch;
        });
        flooding_.start();
    }
    void printRate()
    {
        const double seconds = static_cast<double>(flooding_.elapsed()) / 1000;
        std::printf("[ flood    ] %.0f kB/s for %.1f s\n", static_cast<double>(flood_->bytesWritten()) / 1000 / seconds,
                    seconds);
    }
    FixedClock clock_;
    PtyPair receiver_;
    std::unique_ptr<LiveMonitor> monitor_;
    std::unique_ptr<PtyFlood> flood_;
    std::uint64_t sent_ = 0;
    QElapsedTimer flooding_;
};

TEST_F(FloodTest, TimerDeadlinesSearchWaitsAndClosingTakeEffectPromptly)
{
    startFlood();
    testing::runFor(1s);
    QEventLoop loop;
    QElapsedTimer clock;

    clock.start();
    QTimer::singleShot(500ms, Qt::PreciseTimer, &loop, &QEventLoop::quit);
    loop.exec();
    const qint64 timerLate = clock.elapsed() - 500;

    QtDetectionLoop search;
    const std::chrono::duration<double> deadline = search.timeOfDay() + 500ms;
    while (search.timeOfDay() < deadline) search.runPendingUntil(deadline);
    const double waitLate = (search.timeOfDay() - deadline).count() * 1000;

    qint64 closeCalled = 0;
    clock.restart();
    QTimer::singleShot(300ms, Qt::PreciseTimer, &loop, [&] {
        closeCalled = clock.elapsed();
        monitor_->close();
        loop.quit();
    });
    loop.exec();
    const qint64 closeLate = clock.elapsed() - 300;

    printRate();
    std::printf("[ latency  ] timer %lld ms late, search wait %.0f ms late, closing done %lld ms after it was due "
                "(%lld ms after close())\n",
                static_cast<long long>(timerLate), waitLate, static_cast<long long>(closeLate),
                static_cast<long long>(clock.elapsed() - closeCalled));
    EXPECT_LT(timerLate, 2000);
    EXPECT_LT(waitLate, 2000);
    EXPECT_LT(closeLate, 2000);
    EXPECT_FALSE(monitor_->port().isOpen());
}

TEST_F(FloodTest, EveryLoggedRowIsOneWholeSentenceThatWasSent)
{
    startFlood();
    testing::runFor(5s);
    flood_->stop();
    printRate();
    monitor_->close();

    const SentenceLog& log = monitor_->log();
    std::size_t stitched = 0;
    std::string example;
    for (std::size_t i = 0; i < log.size(); ++i) {
        const std::string row(log.row(i).data);
        if (isOneSentenceSent(row)) continue;
        ++stitched;
        example = row;
    }
    std::printf("[ stitching] %zu rows checked of %llu sentences sent, %zu not one whole sentence, %llu chunks lost\n",
                log.size(), static_cast<unsigned long long>(sent_), stitched,
                static_cast<unsigned long long>(monitor_->assembler().lostChunks()));
    EXPECT_GT(log.size(), 1000u);
    EXPECT_EQ(stitched, 0u) << "for example " << example;
}

}  // namespace
}  // namespace veltrane
