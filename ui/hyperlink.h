// SPDX-License-Identifier: BSD-2-Clause
#pragma once

#include <QString>

namespace veltrane {

// Asks the desktop to open the address with its default handler. Whether it
// could is not looked at: a missing browser just means nothing happens.
void openHyperlink(const QString& address);

}  // namespace veltrane
