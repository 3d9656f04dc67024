// SPDX-License-Identifier: BSD-2-Clause
#include <QTimer>

#include "pty_pair.h"
#include "window_fixture.h"

namespace veltrane {
namespace {

using testing::control;

// Closes every message box that comes up, counting them, so that a search
// that failed to stop ends the test instead of hanging it.
class MessageCloser {
public:
    MessageCloser()
    {
        QObject::connect(&timer_, &QTimer::timeout, [this] {
            if (QWidget* box = QApplication::activeModalWidget()) {
                ++closed;
                box->close();
            }
        });
        timer_.start(50);
    }
    int closed = 0;

private:
    QTimer timer_;
};

TEST(AutoDetectWindow, TheSearchShowsOnTheWindowAndClosingStopsIt)
{
    auto window = testing::makeWindow();  // no Comm number names a device
    window->start();
    testing::showAndWait(*window);
    MessageCloser messages;

    int trials = 0;
    QString captionWhileSearching;
    bool boxesEnabledWhileSearching = true;
    bool buttonEnabledWhileSearching = true;
    window->autoDetect().onTrying = [&](int, const std::string&) {
        if (++trials == 1) {
            captionWhileSearching = control<QGroupBox>(*window, "settingsFrame").title();
            boxesEnabledWhileSearching = control(*window, "portBox").isEnabled() ||
                                         control(*window, "baudBox").isEnabled();
            buttonEnabledWhileSearching = control(*window, "autoButton").isEnabled();
        }
        // The close request arrives as the user's would, inside the search's wait.
        if (trials == 2) QTimer::singleShot(0, window.get(), [&] { window->close(); });
    };

    QTest::mouseClick(&control<QPushButton>(*window, "autoButton"), Qt::LeftButton);

    EXPECT_EQ(captionWhileSearching, "Autodetecting GPS device...");
    EXPECT_FALSE(boxesEnabledWhileSearching);
    EXPECT_FALSE(buttonEnabledWhileSearching);
    EXPECT_EQ(trials, 2);
    EXPECT_EQ(messages.closed, 0);
    EXPECT_FALSE(window->isVisible());
    EXPECT_FALSE(window->monitor().port().isOpen());
}

// The indicators keep "Yes" after an unplug until the next opening; a search
// that began on the same port and baud rate must open it again, not stop there.
TEST(AutoDetectWindow, AReceiverUnpluggedBeforeTheSearchIsNotFoundAgain)
{
    auto receiver = std::make_unique<testing::PtyPair>();
    auto window = testing::makeWindow("1=" + receiver->path());
    window->start();
    testing::showAndWait(*window);
    MessageCloser messages;
    receiver->send("$GPRMC,1\r\n$GPRMC,2\r\n$GPRMC,3\r\n");
    ASSERT_TRUE(QTest::qWaitFor([&] { return testing::labelText(*window, "isGps") == "Yes"; }, 3000));
    receiver.reset();
    ASSERT_TRUE(QTest::qWaitFor([&] { return testing::labelText(*window, "quality") == "Device disconnected"; }, 3000));

    int trials = 0;
    window->autoDetect().onTrying = [&](int, const std::string&) {
        if (++trials == 2) QTimer::singleShot(0, window.get(), [&] { window->close(); });
    };
    QTest::mouseClick(&control<QPushButton>(*window, "autoButton"), Qt::LeftButton);
    EXPECT_EQ(trials, 2) << "the search stopped on the unplugged receiver";
    EXPECT_EQ(messages.closed, 0);
}

}  // namespace
}  // namespace veltrane
