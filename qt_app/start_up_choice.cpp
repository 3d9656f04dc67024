// SPDX-License-Identifier: BSD-2-Clause
#include "start_up_choice.h"

#include <QByteArray>
#include <QtGlobal>
#include <utility>

namespace veltrane {

void StartUpChoice::make()
{
    if (qEnvironmentVariableIsSet(variable_)) return;
    qputenv(variable_, QByteArrayLiteral("1"));
    madeHere_ = true;
}

void StartUpChoice::forget()
{
    if (std::exchange(madeHere_, false)) qunsetenv(variable_);
}

}  // namespace veltrane
