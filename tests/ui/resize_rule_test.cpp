// SPDX-License-Identifier: BSD-2-Clause
#include "resize_rule.h"

#include <gtest/gtest.h>

namespace veltrane {
namespace {

// As the window is built, and as the first resize at the design size leaves it.
constexpr ResizableLayout kDesign{6975, 5055, 6855, 4275, 5820, 1095};
constexpr ResizableLayout kShown{6965, 5065, 6835, 4265, 5740, 1095};

struct Case {
    const char* name;
    ResizableLayout start;
    float outerWidth;
    float outerHeight;
    ResizableLayout expected;
};

const Case kCases[] = {
    {"design size", kDesign, 7215, 8115, kShown},
    {"height below 3050 keeps both heights", kShown, 7215, 3000, kShown},
    {"height between 3050 and 3849 keeps only the list's", kShown, 7215, 3500, {6965, 450, 6835, 4265, 5740, 1095}},
    {"height 3850 gives the list zero", kShown, 7215, 3850, {6965, 800, 6835, 0, 5740, 1095}},
    {"refused height: the list follows the kept one", kDesign, 7215, 3000, {6965, 5055, 6835, 4255, 5740, 1095}},
    {"width below 250: list and button follow the kept width", kDesign, 200, 8115,
     {6975, 5065, 6845, 4265, 5750, 1095}},
    {"width between 250 and 379 refuses only the list", kShown, 300, 8115, {50, 5065, 6835, 4265, -1175, 1095}},
    {"a minimised window's size", kShown, 2400, 540, {2150, 5065, 2020, 4265, 925, 1095}},
};

TEST(ResizeRule, FollowsTheOuterSizeAndKeepsRefusedSizes)
{
    for (const Case& c : kCases) {
        SCOPED_TRACE(c.name);
        ResizableLayout layout = c.start;
        applyResizeRule(layout, c.outerWidth, c.outerHeight);
        EXPECT_FLOAT_EQ(layout.tabWidth, c.expected.tabWidth);
        EXPECT_FLOAT_EQ(layout.tabHeight, c.expected.tabHeight);
        EXPECT_FLOAT_EQ(layout.listWidth, c.expected.listWidth);
        EXPECT_FLOAT_EQ(layout.listHeight, c.expected.listHeight);
        EXPECT_FLOAT_EQ(layout.clearLeft, c.expected.clearLeft);
        EXPECT_FLOAT_EQ(layout.clearWidth, c.expected.clearWidth);
    }
}

}  // namespace
}  // namespace veltrane
