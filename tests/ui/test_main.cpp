// SPDX-License-Identifier: BSD-2-Clause
#include <QApplication>
#include <gtest/gtest.h>

#include "qt_event_loop.h"

int main(int argc, char** argv)
{
    // The window tests need no display; listing the tests must not need one either.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    ::testing::InitGoogleTest(&argc, argv);
    ::testing::GTEST_FLAG(death_test_style) = "threadsafe";
    veltrane::useQtEventDispatcher();
    QApplication app(argc, argv);
    veltrane::forgetEventDispatcherChoice();
    return RUN_ALL_TESTS();
}
