#include <QCoreApplication>

#include <cstdio>
#include <string_view>

#include "comm_map.h"
#include "commands.h"

namespace veltrane::cli {

namespace {

constexpr const char* kPortsUsage =
    "usage: veltrane-cli ports\n"
    "\n"
    "Prints which device each Comm number names now, one line per number that has\n"
    "one. With VELTRANE_PORTS set (for example 1=/dev/ttyUSB0,3=/dev/pts/4) exactly\n"
    "those; otherwise Comm N is the system's N-th serial port in name order.\n";

}  // namespace

int runPorts(int argc, char** argv)
{
    if (argc > 1) {
        const std::string_view arg = argv[1];
        if (arg == "--help" || arg == "-h") {
            std::fputs(kPortsUsage, stdout);
            return 0;
        }
        std::fprintf(stderr, "veltrane-cli ports: unknown option '%s'\n%s", argv[1], kPortsUsage);
        return 2;
    }
    int qtArgc = 1;
    QCoreApplication app(qtArgc, argv);
    const CommMap map = CommMap::fromEnvironment();
    for (const std::string& problem : map.problems()) std::fprintf(stderr, "veltrane-cli ports: %s\n", problem.c_str());

    const auto devices = map.devices();
    for (const auto& [comm, device] : devices) std::printf("Comm %-2d  %s\n", comm, device.c_str());
    if (devices.empty()) {
        std::fputs("veltrane-cli ports: no Comm number names a device: no serial port was found; map one with "
                   "VELTRANE_PORTS, for example VELTRANE_PORTS=1=/dev/ttyUSB0\n",
                   stderr);
    }
    return 0;
}

}  // namespace veltrane::cli
