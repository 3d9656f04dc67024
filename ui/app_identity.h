// SPDX-License-Identifier: BSD-2-Clause
#pragma once

#include <QString>

namespace veltrane {

// The program's title and version; the version comes from the build, so the
// caption, --version and the package all agree.
inline constexpr const char* kApplicationTitle = "Veltrane";
inline constexpr int kMajorVersion = VELTRANE_VERSION_MAJOR;
inline constexpr int kMinorVersion = VELTRANE_VERSION_MINOR;
inline constexpr const char* kWebAddress = VELTRANE_WEB_ADDRESS;

inline QString versionedCaption()
{
    return QString::fromLatin1(kApplicationTitle) + QStringLiteral(" v") + QString::number(kMajorVersion) +
           QLatin1Char('.') + QString::number(kMinorVersion);
}

}  // namespace veltrane
