// SPDX-License-Identifier: BSD-2-Clause
#include <QCoreApplication>
#include <gtest/gtest.h>

#include <optional>

#include "qt_event_loop.h"
#include "start_up_choices.h"

// The Qt tests need an application object for their event loop, with
// the dispatcher the programs use.
int main(int argc, char** argv)
{
    std::optional<veltrane::StartUpChoices> choices(std::in_place, {veltrane::kQtEventDispatcher});
    QCoreApplication app(argc, argv);
    choices.reset();
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
