// SPDX-License-Identifier: BSD-2-Clause
#pragma once

namespace veltrane {

// The sizes that follow the window's outer size, in twips (single precision,
// as the rule computes them). Everything else on the window stays put.
struct ResizableLayout {
    float tabWidth;
    float tabHeight;
    float listWidth;
    float listHeight;
    float clearLeft;
    float clearWidth;
};

// Applies the five steps to the outer size. A size that would come out below
// zero is refused and the control keeps its previous one; later steps then
// work from that. The button's Left may go negative.
void applyResizeRule(ResizableLayout& layout, float outerWidth, float outerHeight);

}  // namespace veltrane
