// SPDX-License-Identifier: BSD-2-Clause
#include "start_up_choices.h"

#include <gtest/gtest.h>

#include <QByteArray>
#include <QtGlobal>
#include <optional>
#include <string>

namespace veltrane {
namespace {

constexpr const char* kMine = "VELTRANE_TEST_CHOICE_MINE";
constexpr const char* kUsers = "VELTRANE_TEST_CHOICE_USERS";

std::optional<std::string> variable(const char* name)
{
    if (!qEnvironmentVariableIsSet(name)) return std::nullopt;
    return qgetenv(name).toStdString();
}

// The programs started later (the browser the web link opens) must not
// inherit a choice, and a user who set a variable keeps their value.
TEST(StartUpChoices, LastWhileTheyLiveAndLeaveTheUsersAlone)
{
    for (const std::optional<std::string>& users : {std::optional<std::string>{}, {"0"}, {""}}) {
        SCOPED_TRACE(users.value_or("not set"));
        qunsetenv(kMine);
        if (users)
            qputenv(kUsers, QByteArray::fromStdString(*users));
        else
            qunsetenv(kUsers);
        {
            const StartUpChoices choices{kMine, kUsers};
            EXPECT_EQ(variable(kMine), "1");
            EXPECT_EQ(variable(kUsers), users.value_or("1"));
        }
        EXPECT_EQ(variable(kMine), std::nullopt);
        EXPECT_EQ(variable(kUsers), users);
    }
    qunsetenv(kUsers);
}

}  // namespace
}  // namespace veltrane
