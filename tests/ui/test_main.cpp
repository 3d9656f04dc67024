// SPDX-License-Identifier: BSD-2-Clause
#include <QApplication>
#include <gtest/gtest.h>

#include <optional>

#include "qt_event_loop.h"
#include "start_up_choices.h"

int main(int argc, char** argv)
{
    // The window tests need no display; listing the tests must not need one either.
    const QByteArray platform = qgetenv("QT_QPA_PLATFORM");
    if (platform.isEmpty() || platform == "offscreen") qputenv("QT_QPA_PLATFORM", "offscreen:configfile=" VELTRANE_TEST_SCREENS);
    ::testing::InitGoogleTest(&argc, argv);
    ::testing::GTEST_FLAG(death_test_style) = "threadsafe";
    std::optional<veltrane::StartUpChoices> choices(std::in_place, {veltrane::kQtEventDispatcher});
    QApplication app(argc, argv);
    choices.reset();
    return RUN_ALL_TESTS();
}
