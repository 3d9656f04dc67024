// SPDX-License-Identifier: BSD-2-Clause
#include "line_settings.h"

#include <gtest/gtest.h>

#include "failure.h"

namespace veltrane {
namespace {

struct Accepted {
    const char* text;
    LineSettings expected;
};

TEST(LineSettings, AcceptsEveryParityDataAndStopCombinationItNames)
{
    const Accepted cases[] = {
        {"4800,n,8,1", {4800, Parity::None, 8, StopBits::One}},
        {"9600,N,8,1", {9600, Parity::None, 8, StopBits::One}},
        {"9600,e,7,2", {9600, Parity::Even, 7, StopBits::Two}},
        {"1200,o,5,1.5", {1200, Parity::Odd, 5, StopBits::OneAndHalf}},
        {"115200,m,6,1", {115200, Parity::Mark, 6, StopBits::One}},
        {"300,S,8,2", {300, Parity::Space, 8, StopBits::Two}},
    };
    for (const Accepted& c : cases) EXPECT_EQ(parseLineSettings(c.text), c.expected) << c.text;
}

struct Refused {
    const char* text;
    const char* reason;  // part of the description
};

TEST(LineSettings, RefusesAnythingElseAndSaysWhatIsWrong)
{
    const Refused cases[] = {
        {",n,8,1", "no baud rate is selected"},  // start-up: no baud entry selected yet
        {"", "expected baud,parity,data,stop"},
        {"4800", "expected baud,parity,data,stop"},
        {"4800,n,8,1,1", "expected baud,parity,data,stop"},
        {"fast,n,8,1", "the baud rate \"fast\""},
        {"0,n,8,1", "not a positive whole number"},
        {"-4800,n,8,1", "not a positive whole number"},
        {"4800 ,n,8,1", "not a positive whole number"},
        {"99999999999,n,8,1", "not a positive whole number"},
        {"4800,x,8,1", "the parity \"x\" is not one of n, e, o, m, s"},
        {"4800,,8,1", "the parity \"\""},
        {"4800,no,8,1", "the parity \"no\""},
        {"4800,n,9,1", "the data bits \"9\" are not 5, 6, 7 or 8"},
        {"4800,n,4,1", "the data bits \"4\""},
        {"4800,n,8,3", "the stop bits \"3\" are not 1, 1.5 or 2"},
        {"4800,n,8,1.0", "the stop bits \"1.0\""},
    };
    for (const Refused& c : cases) {
        try {
            parseLineSettings(c.text);
            ADD_FAILURE() << "accepted " << c.text;
        } catch (const Failure& failure) {
            EXPECT_EQ(failure.number(), kInvalidSettings) << c.text;
            EXPECT_NE(failure.detail().find(c.reason), std::string::npos) << c.text << ": " << failure.detail();
            EXPECT_NE(failure.detail().find(std::string("\"") + c.text + "\""), std::string::npos)
                << "the detail quotes the text: " << failure.detail();
        }
    }
}

}  // namespace
}  // namespace veltrane
