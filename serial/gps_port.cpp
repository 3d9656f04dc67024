// SPDX-License-Identifier: BSD-2-Clause
#include "gps_port.h"

#include <exception>

#include "failure.h"

namespace veltrane {

GpsPort::GpsPort(StatusFields& fields, SentenceLog& log, SerialComponent& objComm, PortSelection& selection)
    : fields_(fields), log_(log), objComm_(objComm), selection_(selection)
{
    selection_.cboCommPort.onClick = [this] { cboCommPort_Click(); };
    selection_.cboBaud.onClick = [this] { cboBaud_Click(); };
}

GpsPort::~GpsPort()
{
    selection_.cboCommPort.onClick = nullptr;
    selection_.cboBaud.onClick = nullptr;
}

void GpsPort::OpenGpsPort()
{
    try {
        resetReadout(fields_);
        if (objComm_.PortOpen()) objComm_.setPortOpen(false);
        fields_.set(Field::Found, kNo);
        fields_.set(Field::IsGps, kNo);
        log_.clear();
        objComm_.setRThreshold(1);
        objComm_.setCommPort(selection_.cboCommPort.selectedIndex() + 1);
        objComm_.setSettings(selection_.cboBaud.selectedText() + ",n,8,1");
        objComm_.setPortOpen(true);
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
