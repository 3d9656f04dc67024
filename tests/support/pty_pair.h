// SPDX-License-Identifier: BSD-2-Clause
#pragma once

#include <termios.h>

#include <string>
#include <string_view>

namespace veltrane::testing {

// A receiver on a serial port, played through a pseudo-terminal: the test
// writes to the master as the receiver would, the code under test opens the
// slave by its path, and closing the master is the receiver being unplugged.
class PtyPair {
public:
    // Kept, the test's own slave descriptor holds the line up whoever else
    // opens and closes it. Released, another process can be seen to hold it.
    enum class Slave { kept, released };

    explicit PtyPair(Slave slave = Slave::kept);
    ~PtyPair();
    PtyPair(const PtyPair&) = delete;
    PtyPair& operator=(const PtyPair&) = delete;

    const std::string& path() const { return path_; }
    int master() const { return master_; }

    // Writes all of `bytes`, or throws.
    void send(std::string_view bytes);
    // Sends, then waits until the line has handed the bytes on to the slave,
    // which happens a moment after the write; needs the slave kept and its
    // reader waiting (in this thread's event loop).
    void sendToTheSlave(std::string_view bytes);
    // The slave's speed as the port under test set it; needs the slave kept.
    speed_t speed() const;
    // Whether anyone holds the slave open: the master reports a hang-up while nobody does.
    bool heldOpen() const;
    void unplug();
    // Hangs the line up under whoever holds the slave, as a USB adapter that
    // is pulled out does; needs the slave kept, and root. Returns false where
    // the system refuses.
    bool hangUp();
    // Bytes written that the code under test has not read yet; needs the slave kept.
    int unread() const;

private:
    int master_ = -1;
    int slave_ = -1;
    std::string path_;
};

}  // namespace veltrane::testing
