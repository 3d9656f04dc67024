// SPDX-License-Identifier: BSD-2-Clause
#include <QCoreApplication>
#include <gtest/gtest.h>

#include "qt_event_loop.h"

// The Qt tests need an application object for their event loop, with
// the dispatcher the programs use.
int main(int argc, char** argv)
{
    veltrane::useQtEventDispatcher();
    QCoreApplication app(argc, argv);
    veltrane::forgetEventDispatcherChoice();
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
