// SPDX-License-Identifier: BSD-2-Clause
#pragma once

#include <functional>
#include <string>

#include "serial_input.h"

namespace veltrane {

// What the monitor asks of a serial port, and nothing more. Every operation
// may throw Failure; number 8002 (kPortDoesNotExist) means the port that
// setCommPort named does not exist. The receive handler is called on the
// user-interface thread, through the event loop, whenever received text is
// waiting (and on failures that it should see).
class SerialComponent : public SerialInput {
public:
    virtual bool isOpen() const = 0;
    virtual void setOpen(bool open) = 0;
    virtual void setReceiveThreshold(int threshold) = 0;
    virtual void setCommPort(int port) = 0;        // 1 = the first port
    virtual void setSettings(const std::string& settings) = 0;  // "4800,n,8,1"

    void setOnReceive(std::function<void()> handler) { onReceive_ = std::move(handler); }

protected:
    void raiseReceive()
    {
        if (onReceive_) onReceive_();
    }

private:
    std::function<void()> onReceive_;
};

}  // namespace veltrane
