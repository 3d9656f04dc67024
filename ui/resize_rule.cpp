// SPDX-License-Identifier: BSD-2-Clause
#include "resize_rule.h"

namespace veltrane {

namespace {
void setSize(float& size, float value)
{
    if (value >= 0) size = value;
}
}  // namespace

void applyResizeRule(ResizableLayout& layout, float outerWidth, float outerHeight)
{
    setSize(layout.tabWidth, outerWidth - 250);
    setSize(layout.listWidth, layout.tabWidth - 130);
    layout.clearLeft = layout.tabWidth - 130 - layout.clearWidth;
    setSize(layout.tabHeight, outerHeight - 3050);
    setSize(layout.listHeight, layout.tabHeight - 800);
}

}  // namespace veltrane
