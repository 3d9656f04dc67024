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
        ResetGpsDisplay(fields_);
        if (objComm_.PortOpen()) objComm_.setPortOpen(false);
        fields_.set(Field::lblFound, kNo);
        fields_.set(Field::lblIsGPS, kNo);
        log_.clear();
        objComm_.setRThreshold(1);
        objComm_.setCommPort(selection_.cboCommPort.selectedIndex() + 1);
        objComm_.setSettings(selection_.cboBaud.selectedText() + ",n,8,1");
        objComm_.setPortOpen(true);
        fields_.set(Field::lblCommOK, kYes);
    } catch (const Failure& failure) {
        failed(failure);
    } catch (const std::exception& failure) {
        failed(Failure(kRuntimeFailure, failure.what()));
    }
}

void GpsPort::failed(const Failure& failure)
{
    if (failure.number() == kPortDoesNotExist)
        fields_.set(Field::lblCommOK, kNo);
    else
        fields_.set(Field::lblQuality, failure.what());
    if (onFailure) onFailure(failure);
}

}  // namespace veltrane
