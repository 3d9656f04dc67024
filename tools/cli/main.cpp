#include <cstdio>
#include <cstring>
#include <string_view>

#include "commands.h"

namespace {

constexpr const char* kUsage =
    "usage: veltrane-cli COMMAND [OPTIONS]\n"
    "\n"
    "Commands:\n"
    "  replay   run a recorded capture through the monitor\n"
    "  monitor  watch a serial port live\n"
    "  ports    list which device each Comm number names\n"
    "  detect   search every Comm number and baud rate for a GPS receiver\n"
    "\n"
    "veltrane-cli COMMAND --help describes the options of a command.\n";

}  // namespace

int main(int argc, char** argv)
{
    if (argc < 2) {
        std::fputs(kUsage, stderr);
        return 2;
    }
    const std::string_view command = argv[1];
    if (command == "--help" || command == "-h") {
        std::fputs(kUsage, stdout);
        return 0;
    }
    if (command == "--version") {
        std::printf("veltrane-cli %s\n", VELTRANE_VERSION);
        return 0;
    }
    using namespace veltrane::cli;
    if (command == "replay") return runReplay(argc - 1, argv + 1);
    if (command == "detect") return runDetect(argc - 1, argv + 1);
    if (command == "monitor") return runMonitor(argc - 1, argv + 1);
    if (command == "ports") return runPorts(argc - 1, argv + 1);
    std::fprintf(stderr, "veltrane-cli: unknown command '%s'\n%s", argv[1], kUsage);
    return 2;
}
