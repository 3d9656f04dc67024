#pragma once

#include <gtest/gtest.h>
#include <pty.h>
#include <unistd.h>

#include <QByteArray>
#include <stdexcept>
#include <string>
#include <string_view>

namespace veltrane::testing {

// The far end of a pseudo-terminal plays the receiver; the window opens the
// near end as Comm 1 through the real serial code.
class Receiver {
public:
    Receiver()
    {
        char name[256] = {};
        if (openpty(&master_, &slave_, name, nullptr, nullptr) != 0) throw std::runtime_error("openpty failed");
        path_ = name;
    }
    ~Receiver()
    {
        ::close(master_);
        ::close(slave_);
    }
    Receiver(const Receiver&) = delete;
    Receiver& operator=(const Receiver&) = delete;

    std::string portsVariable() const { return "1=" + path_; }
    void send(std::string_view text) const
    {
        ASSERT_EQ(::write(master_, text.data(), text.size()), static_cast<ssize_t>(text.size()));
    }

private:
    int master_ = -1;
    int slave_ = -1;
    std::string path_;
};

}  // namespace veltrane::testing
