// SPDX-License-Identifier: BSD-2-Clause
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <termios.h>

namespace veltrane::sim {

// The line the simulated receiver talks on: a new pseudo-terminal, or a
// serial device given by path. Throws std::runtime_error with the reason.
class SerialLine {
public:
    static SerialLine openPseudoTerminal(int baud);
    static SerialLine openDevice(const std::string& path, int baud);
    SerialLine(SerialLine&& other) noexcept;
    SerialLine& operator=(SerialLine&&) = delete;
    ~SerialLine();

    // The path a monitor opens: the pseudo-terminal's other side, or the device.
    const std::string& path() const { return path_; }
    // True while a program holds the port open. A device is taken as always
    // listened to: we cannot tell who is at the far end of a cable.
    bool held() const;
    // False while the monitor's end is set to another speed than ours.
    bool speedsMatch() const;
    // What a UART does when its port is closed: what the last holder left
    // unread is dropped. The line also goes to a speed that no monitor asks
    // for, so the next one gets nothing valid before it has set its own.
    void release();
    // Writes what the line takes now without blocking; the rest is lost, as
    // with a receiver that nobody listens to.
    void write(std::string_view bytes);
    // Throws away whatever the monitor wrote to us.
    void discardInput();

private:
    SerialLine(int writeFd, std::string path, int baud, std::optional<termios> idle);

    int writeFd_;
    std::string path_;
    int baud_;
    // A pseudo-terminal's settings while nobody holds it. A device has none:
    // its speed is ours alone.
    std::optional<termios> idle_;
};

}  // namespace veltrane::sim
