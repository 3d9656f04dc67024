// SPDX-License-Identifier: BSD-2-Clause
#include "x11_image_transfer.h"

#include <gtest/gtest.h>

#include <QByteArray>
#include <QtGlobal>
#include <optional>
#include <string>

namespace veltrane {
namespace {

constexpr const char* kVariable = "QT_XCB_NO_MITSHM";

std::optional<std::string> variable()
{
    if (!qEnvironmentVariableIsSet(kVariable)) return std::nullopt;
    return qgetenv(kVariable).toStdString();
}

// The browser the web link starts must not inherit the window's choice, and a
// user who set the variable keeps their value.
TEST(ImageTransfer, TheChoiceLastsUntilTheApplicationExistsAndLeavesTheUsersAlone)
{
    struct Case {
        std::optional<std::string> users;
        std::optional<std::string> whileStarting;
    };
    for (const Case& c : {Case{std::nullopt, "1"}, Case{"0", "0"}, Case{"", ""}}) {
        SCOPED_TRACE(c.users.value_or("not set"));
        if (c.users)
            qputenv(kVariable, QByteArray::fromStdString(*c.users));
        else
            qunsetenv(kVariable);
        imagesOverTheConnection.make();
        EXPECT_EQ(variable(), c.whileStarting);
        imagesOverTheConnection.forget();
        EXPECT_EQ(variable(), c.users);
    }
    qunsetenv(kVariable);
}

}  // namespace
}  // namespace veltrane
