// SPDX-License-Identifier: BSD-2-Clause
#include "start_up_choices.h"

#include <QByteArray>
#include <QtGlobal>

namespace veltrane {

StartUpChoices::StartUpChoices(std::initializer_list<const char*> variables)
{
    for (const char* variable : variables) {
        if (qEnvironmentVariableIsSet(variable)) continue;
        qputenv(variable, QByteArrayLiteral("1"));
        madeHere_.push_back(variable);
    }
}

StartUpChoices::~StartUpChoices()
{
    for (const char* variable : madeHere_) qunsetenv(variable);
}

}  // namespace veltrane
