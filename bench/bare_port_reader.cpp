// The least a Qt window pays to watch a serial port: shown, with a
// 100-millisecond timer, and reading every byte as it arrives. What the real
// window costs beyond this is its own work; this much is the receive path's.
// Run by scripts/bench-window-cpu.sh.
#include <QApplication>
#include <QSerialPort>
#include <QTimer>
#include <QWidget>
#include <cstdio>

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    if (argc != 2) {
        std::fputs("usage: bare_port_reader DEVICE\n", stderr);
        return 2;
    }
    QWidget window;
    window.resize(473, 507);
    window.show();
    QSerialPort port(QString::fromLocal8Bit(argv[1]));
    port.setBaudRate(4800);
    if (!port.open(QIODevice::ReadOnly)) {
        std::fprintf(stderr, "bare_port_reader: cannot open %s: %s\n", argv[1], qPrintable(port.errorString()));
        return 1;
    }
    QObject::connect(&port, &QSerialPort::readyRead, [&port] { port.readAll(); });
    QTimer tick;
    QObject::connect(&tick, &QTimer::timeout, [] {});
    tick.start(100);
    return QApplication::exec();
}
