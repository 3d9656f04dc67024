// SPDX-License-Identifier: BSD-2-Clause
#pragma once

#include <functional>
#include <string>

#include "serial_input.h"

namespace veltrane {

// What the monitor asks of a serial port, and nothing more. Every operation
// may throw Failure; number 8002 (kPortDoesNotExist) means the port named by
// CommPort does not exist. OnComm is raised on the user-interface thread,
// through the event loop, whenever received text is waiting (and on failures
// that the receive handler should see).
class SerialComponent : public SerialInput {
public:
    virtual bool PortOpen() const = 0;
    virtual void setPortOpen(bool open) = 0;
    virtual void setRThreshold(int threshold) = 0;
    virtual void setCommPort(int port) = 0;        // 1 = the first port
    virtual void setSettings(const std::string& settings) = 0;  // "4800,n,8,1"

    void setOnComm(std::function<void()> handler) { onComm_ = std::move(handler); }

protected:
    void raiseOnComm()
    {
        if (onComm_) onComm_();
    }

private:
    std::function<void()> onComm_;
};

}  // namespace veltrane
