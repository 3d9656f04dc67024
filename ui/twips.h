// SPDX-License-Identifier: BSD-2-Clause
#pragma once

#include <QRect>
#include <cmath>

namespace veltrane {

// The window is designed in twips: 15 to a device-independent pixel, so Qt's
// high-DPI scaling does the rest.
inline constexpr double kTwipsPerPixel = 15.0;

inline int toPixels(double twips) { return static_cast<int>(std::lround(twips / kTwipsPerPixel)); }
inline double toTwips(int pixels) { return pixels * kTwipsPerPixel; }

struct TwipsRect {
    double left;
    double top;
    double width;
    double height;
};

inline QRect toPixels(const TwipsRect& r)
{
    return QRect(toPixels(r.left), toPixels(r.top), toPixels(r.width), toPixels(r.height));
}

}  // namespace veltrane
