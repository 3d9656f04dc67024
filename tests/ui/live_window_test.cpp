// SPDX-License-Identifier: BSD-2-Clause
#include "pty_pair.h"
#include "window_fixture.h"

namespace veltrane {
namespace {

using testing::control;
using testing::labelText;
using testing::PtyPair;

TEST(LiveWindow, AGgaSentenceFromThePortShowsInTheReadoutAndTheLog)
{
    PtyPair receiver;
    auto window = testing::makeWindow("1=" + receiver.path());
    window->start();
    testing::showAndWait(*window);
    ASSERT_EQ(labelText(*window, "commOk"), "Yes");
    ASSERT_TRUE(window->monitor().port().isOpen());

    // A sentence is handed on when the next one begins, and the stream's first
    // "$" only starts the collecting.
    receiver.send("$GPTXT,start\r\n$GPGGA,123519,4807.038,N,01131.000,E,1,08,0.9,545.4,M,46.9,M,,*47\r\n$GP");
    ASSERT_TRUE(QTest::qWaitFor([&] { return labelText(*window, "utcTime") == "12:35:19."; }, 3000));
    EXPECT_EQ(labelText(*window, "latitude"), "4807.0380 N");
    EXPECT_EQ(labelText(*window, "longitude"), "1131.0000 E");
    EXPECT_EQ(labelText(*window, "altitude"), "545.4 m");
    EXPECT_EQ(labelText(*window, "quality"), "Non-Differential Fix Acquired");
    EXPECT_EQ(labelText(*window, "satellites"), "8 satellites");
    EXPECT_EQ(labelText(*window, "hdop"), "0.9 m");
    EXPECT_EQ(labelText(*window, "found"), "Yes");
    EXPECT_EQ(labelText(*window, "isGps"), "Yes");

    auto& list = control<LogListView>(*window, "logList");
    ASSERT_TRUE(QTest::qWaitFor([&] { return list.model()->rowCount() == 1; }, 2000));
    EXPECT_EQ(list.model()->index(0, 1).data().toString(),
              "GPGGA,123519,4807.038,N,01131.000,E,1,08,0.9,545.4,M,46.9,M,,*47");
    EXPECT_EQ(list.model()->index(0, 0).data().toString(), labelText(*window, "updated"));
}

TEST(LiveWindow, MarkupFromTheDeviceIsShownAsTheCharactersItSent)
{
    PtyPair receiver;
    auto window = testing::makeWindow("1=" + receiver.path());
    window->start();
    testing::showAndWait(*window);

    receiver.send("$GPTXT,start\r\n$GPGGA,123519,4807.038,<img src=x>,01131.000,E,1,08,0.9,545.4,M*00\r\n"
                  "$GPRMC,<b>bold</b>\r\n$");
    auto& list = control<LogListView>(*window, "logList");
    ASSERT_TRUE(QTest::qWaitFor([&] { return list.model()->rowCount() == 2; }, 3000));
    EXPECT_EQ(labelText(*window, "latitude"), "4807.0380 <img src=x>");
    EXPECT_EQ(control<QLabel>(*window, "latitude").textFormat(), Qt::PlainText);
    EXPECT_EQ(list.model()->index(0, 1).data().toString(), "GPRMC,<b>bold</b>");
}

TEST(LiveWindow, ClosingClosesTheOpenPortAndTheUserCanReopenIt)
{
    PtyPair receiver;
    auto window = testing::makeWindow("1=" + receiver.path());
    window->start();
    testing::showAndWait(*window);
    ASSERT_TRUE(window->monitor().port().isOpen());

    // Picking the entry already selected opens the port afresh: the log starts over.
    window->monitor().log().insertFirst({2024, 1, 1, 0, 0, 0}, "GPRMC,before");
    auto& ports = control<QComboBox>(*window, "portBox");
    emit ports.activated(0);
    EXPECT_TRUE(window->monitor().log().empty());
    EXPECT_EQ(labelText(*window, "commOk"), "Yes");

    EXPECT_TRUE(window->close());
    EXPECT_FALSE(window->monitor().port().isOpen());
}

}  // namespace
}  // namespace veltrane
