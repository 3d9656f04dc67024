// SPDX-License-Identifier: BSD-2-Clause
#include "pty_flood.h"

#include <fcntl.h>
#include <poll.h>
#include <unistd.h>

#include <utility>

namespace veltrane::testing {

PtyFlood::PtyFlood(PtyPair& pty, std::function<std::string()> next) : master_(pty.master()), next_(std::move(next))
{
    ::fcntl(master_, F_SETFL, ::fcntl(master_, F_GETFL) | O_NONBLOCK);
    writer_ = std::thread([this] { run(); });
}

void PtyFlood::stop()
{
    stopping_ = true;
    if (writer_.joinable()) writer_.join();
    ::fcntl(master_, F_SETFL, ::fcntl(master_, F_GETFL) & ~O_NONBLOCK);
}

void PtyFlood::run()
{
    std::string pending;
    std::size_t at = 0;
    while (!stopping_) {
        if (at == pending.size()) {
            pending = next_();
            at = 0;
        }
        const ssize_t n = ::write(master_, pending.data() + at, pending.size() - at);
        if (n > 0) {
            at += static_cast<std::size_t>(n);
            written_ += static_cast<std::uint64_t>(n);
            continue;
        }
        pollfd ready{master_, POLLOUT, 0};
        ::poll(&ready, 1, 20);
    }
}

}  // namespace veltrane::testing
