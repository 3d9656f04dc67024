// SPDX-License-Identifier: BSD-2-Clause
// Plays a test tool that makes a pseudo-terminal with openpty() and keeps both
// ends open: prints the slave's path, then writes TEXT to the master every
// 100 ms until it is ended.
//
// Usage: pty_maker TEXT
#include <pty.h>
#include <termios.h>
#include <unistd.h>

#include <cstdio>
#include <cstring>

int main(int argc, char** argv)
{
    if (argc != 2) return 2;
    int master = -1;
    int slave = -1;
    if (::openpty(&master, &slave, nullptr, nullptr, nullptr) != 0) return 1;
    termios raw{};
    ::tcgetattr(slave, &raw);
    ::cfmakeraw(&raw);
    ::tcsetattr(slave, TCSANOW, &raw);
    std::printf("%s\n", ::ttyname(slave));
    std::fflush(stdout);
    const std::size_t length = std::strlen(argv[1]);
    for (;;) {
        if (::write(master, argv[1], length) < 0) return 1;
        ::usleep(100000);
    }
}
