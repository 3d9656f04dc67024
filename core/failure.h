// SPDX-License-Identifier: BSD-2-Clause
#pragma once

#include <stdexcept>
#include <string>

namespace veltrane {

// A failure as the serial component or the runtime reports it: a number the
// handlers can test, a short cause that fits the window's one-line field, and
// a detail text with the device and what to do, for wherever there is room.
// Handlers trap it where the product's rules say; it never escapes into the
// event loop.
class Failure : public std::runtime_error {
public:
    Failure(int number, const std::string& description)
        : std::runtime_error(description), number_(number), detail_(description)
    {
    }
    Failure(int number, const std::string& cause, std::string detail)
        : std::runtime_error(cause), number_(number), detail_(std::move(detail))
    {
    }

    int number() const noexcept { return number_; }
    // The whole text: the cause, the port and its device, what to do.
    const std::string& detail() const noexcept { return detail_; }

private:
    int number_;
    std::string detail_;
};

// Failures without a number of their own (a runtime error, memory exhausted).
inline constexpr int kRuntimeFailure = 1;
// Line settings that are not "baud,parity,data,stop".
inline constexpr int kInvalidSettings = 380;
// The one number the port opening tests: the selected port does not exist.
inline constexpr int kPortDoesNotExist = 8002;
// Another program holds the port, or it is open here already.
inline constexpr int kPortInUse = 8005;
// The device exists but cannot be opened as a serial port.
inline constexpr int kPortRefused = 8010;
// Reading a port that is closed.
inline constexpr int kPortNotOpen = 8012;
// The device went away while the port was open.
inline constexpr int kDeviceDisconnected = 8020;

}  // namespace veltrane
