// SPDX-License-Identifier: BSD-2-Clause
#include <gtest/gtest.h>

#include <QTimer>
#include <cstdlib>
#include <string>

#include "auto_detect.h"
#include "clock.h"
#include "event_loop_waits.h"
#include "live_monitor.h"
#include "pty_pair.h"
#include "qt_detection_loop.h"

namespace veltrane {
namespace {

using namespace std::chrono_literals;
using testing::PtyPair;
using testing::runUntil;

class SilentView final : public DetectionView {
public:
    void setSettingsCaption(const std::string&) override {}
    void setAutoEnabled(bool) override {}
    void showMessage(Icon, const std::string& text) override { messages.push_back(text); }
    std::vector<std::string> messages;
};

// "Auto Detect" pressed while an assembler pass is paused in its yield: the
// search then runs inside that pass, and sentences must still be interpreted
// while it waits, or it could never find anything.
TEST(QtDetection, FindsTheReceiverWhenStartedInsideAPausedPass)
{
    PtyPair chatter;  // Comm 1: plenty of text, nothing recognised
    PtyPair receiver; // Comm 3: a GPS receiver
    SystemClock clock;
    LiveMonitor live(clock, CommMap("1=" + chatter.path() + ",3=" + receiver.path()));
    SilentView view;
    QtDetectionLoop loop;
    AutoDetect detect(live.selection(), live.fields(), view, loop);
    std::vector<int> tried;
    detect.onTrying = [&](int comm, const std::string&) { tried.push_back(comm); };

    live.selectFirstEntries();
    // Passes long enough to yield, again and again until the click falls into one.
    std::string noise;
    for (int i = 0; i < 300; ++i) noise += "$PXYZ,1\r\n";
    QTimer chatting;
    QObject::connect(&chatting, &QTimer::timeout, [&] {
        if (chatter.unread() < 1000) chatter.send(noise);  // within what a pseudo-terminal buffers
    });
    chatting.start(50);

    QTimer sentences;
    QObject::connect(&sentences, &QTimer::timeout, [&] {
        receiver.send("$GPRMC,123519,A,4807.038,N,01131.000,E,022.4,084.4,230394,003.1,W*6A\r\n");
    });
    sentences.start(200);

    bool startedInsidePass = false;
    bool finished = false;
    QTimer click;
    QObject::connect(&click, &QTimer::timeout, [&] {
        if (!live.assembler().passInProgress()) return;
        click.stop();
        chatting.stop();
        startedInsidePass = true;
        detect.run();
        finished = true;
    });
    click.start(1);

    ASSERT_TRUE(runUntil([&] { return finished; }, 30s));
    EXPECT_TRUE(startedInsidePass);
    EXPECT_EQ(tried, (std::vector<int>{1, 1, 2, 2, 3}));
    EXPECT_EQ(live.selection().port.selectedIndex(), 2);
    EXPECT_EQ(live.selection().baud.selectedIndex(), 0);
    EXPECT_EQ(live.fields().read(Field::IsGps), "Yes");
    EXPECT_TRUE(live.port().isOpen());
    EXPECT_TRUE(view.messages.empty());
    live.close();
}

}  // namespace
}  // namespace veltrane
