// SPDX-License-Identifier: BSD-2-Clause
#include <QComboBox>

#include "pty_pair.h"
#include "window_fixture.h"

namespace veltrane {
namespace {

using testing::control;
using testing::labelText;

struct WheelCase {
    const char* combo;
    const char* entryAfterTwoNotchesWithFocus;
};

constexpr WheelCase kCombos[] = {
    {"portBox", "Comm 3"},
    {"baudBox", "9600"},
};

class ComboWheel : public ::testing::TestWithParam<WheelCase> {};

// A person scrolling the window with the pointer resting on a drop-down must
// not switch the port, reopen it and lose the log.
TEST_P(ComboWheel, TurnsTheEntryOnlyWhileTheBoxHasTheKeyboardFocus)
{
    const WheelCase& c = GetParam();
    testing::PtyPair receiver;
    auto window = testing::openWindow("1=" + receiver.path());
    control<QTabWidget>(*window, "tabs").setCurrentIndex(1);
    control<QPushButton>(*window, "clearButton").setFocus();
    ASSERT_EQ(labelText(*window, "commOk"), "Yes");
    SentenceLog& log = window->monitor().log();
    for (int i = 0; i < 20; ++i) log.insertFirst({2024, 3, 9, 14, 5, i}, "GPRMC,row " + std::to_string(i));

    auto& combo = control<QComboBox>(*window, c.combo);
    const QString before = combo.currentText();
    testing::turnWheel(combo, combo.rect().center(), -2);
    EXPECT_EQ(combo.currentText(), before);
    EXPECT_FALSE(combo.hasFocus()) << "the wheel gave the box the focus";
    EXPECT_EQ(log.size(), 20u) << "the port was opened again";
    EXPECT_EQ(labelText(*window, "commOk"), "Yes");

    combo.setFocus();
    testing::turnWheel(combo, combo.rect().center(), -2);
    EXPECT_EQ(combo.currentText(), c.entryAfterTwoNotchesWithFocus);
}

INSTANTIATE_TEST_SUITE_P(BothBoxes, ComboWheel, ::testing::ValuesIn(kCombos),
                         [](const auto& info) { return std::string(info.param.combo); });

}  // namespace
}  // namespace veltrane
