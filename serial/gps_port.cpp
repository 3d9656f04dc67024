// SPDX-License-Identifier: BSD-2-Clause
#include "gps_port.h"

#include <exception>

#include "failure.h"

namespace veltrane {

GpsPort::GpsPort(StatusFields& fields, SentenceLog& log, SerialComponent& port, PortSelection& selection)
    : fields_(fields), log_(log), port_(port), selection_(selection)
{
    selection_.port.onClick = [this] { switchPort(); };
    selection_.baud.onClick = [this] { switchBaud(); };
}

GpsPort::~GpsPort()
{
    selection_.port.onClick = nullptr;
    selection_.baud.onClick = nullptr;
}

void GpsPort::reopen()
{
    try {
        resetReadout(fields_);
        if (port_.isOpen()) port_.setOpen(false);
        fields_.set(Field::Found, kNo);
        fields_.set(Field::IsGps, kNo);
        log_.clear();
        port_.setReceiveThreshold(1);
        port_.setCommPort(selection_.port.selectedIndex() + 1);
        port_.setSettings(selection_.baud.selectedText() + ",n,8,1");
        port_.setOpen(true);
        fields_.set(Field::CommOk, kYes);
    } catch (const Failure& failure) {
        failed(failure);
    } catch (const std::exception& failure) {
        failed(Failure(kRuntimeFailure, failure.what()));
    }
}

void GpsPort::failed(const Failure& failure)
{
    if (failure.number() == kPortDoesNotExist)
        fields_.set(Field::CommOk, kNo);
    else
        fields_.set(Field::Quality, failure.what());
    if (onFailure) onFailure(failure);
}

}  // namespace veltrane
