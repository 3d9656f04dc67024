#pragma once

#include <string>

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
    // False while the monitor's end is set to another speed than ours.
    bool speedsMatch() const;
    // Writes what the line takes now without blocking; the rest is lost, as
    // with a receiver that nobody listens to.
    void write(std::string_view bytes);
    // Throws away whatever the monitor wrote to us.
    void discardInput();

private:
    SerialLine(int writeFd, bool pseudoTerminal, std::string path, int baud);

    int writeFd_;
    bool pseudoTerminal_;  // false for a device: its speed is ours alone
    std::string path_;
    int baud_;
};

}  // namespace veltrane::sim
