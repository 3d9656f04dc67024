// SPDX-License-Identifier: BSD-2-Clause
#include "hyperlink.h"

#include <QDesktopServices>
#include <QUrl>

namespace veltrane {

void openHyperlink(const QString& address)
{
    QDesktopServices::openUrl(QUrl(address));
}

}  // namespace veltrane
