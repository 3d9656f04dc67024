// SPDX-License-Identifier: BSD-2-Clause
// The least a Qt window pays to watch a serial port: shown, with a
// 100-millisecond timer, and reading what waits on the port at each tick, as
// the window does while text flows. What the window costs beyond this is its
// own work: cutting and interpreting sentences, yielding between characters,
// repainting. Run by scripts/bench-window-cpu.sh.
#include <QApplication>
#include <QTimer>
#include <QWidget>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <termios.h>
#include <unistd.h>

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    if (argc != 2) {
        std::fputs("usage: bare_port_reader DEVICE\n", stderr);
        return 2;
    }
    const int port = ::open(argv[1], O_RDONLY | O_NOCTTY | O_NONBLOCK);
    termios line{};
    if (port < 0 || ::tcgetattr(port, &line) != 0) {
        std::fprintf(stderr, "bare_port_reader: cannot open %s as a serial port: %s\n", argv[1], std::strerror(errno));
        return 1;
    }
    ::cfmakeraw(&line);
    ::cfsetspeed(&line, B4800);
    ::tcsetattr(port, TCSANOW, &line);

    QWidget window;
    window.resize(473, 507);
    window.show();
    QTimer tick;
    QObject::connect(&tick, &QTimer::timeout, [port] {
        char bytes[4096];
        while (::read(port, bytes, sizeof bytes) > 0) {
        }
    });
    tick.start(100);
    return QApplication::exec();
}
