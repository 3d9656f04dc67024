#include "sim_options.h"

#include <CLI/CLI.hpp>

namespace veltrane::sim {

namespace {

constexpr const char* kDescription =
    "Plays a GPS receiver at the pace of its baud rate. Without --device it opens a\n"
    "pseudo-terminal and prints the path of its other side as the first line, for\n"
    "VELTRANE_PORTS (for example VELTRANE_PORTS=1=/dev/pts/4). Like a receiver on a\n"
    "real line, what it sends while no program holds the port is lost, and a program\n"
    "set to another speed receives garbled bytes that never form a sentence.\n";

constexpr const char* kExitStatus =
    "Exit status:\n"
    "  0  ended by SIGINT, SIGTERM or SIGHUP (a capture played once leaves the line\n"
    "     silent until then), or --help or --version printed\n"
    "  1  runtime error: the capture or the device cannot be read or opened, the\n"
    "     device is not a serial port, no pseudo-terminal, or standard output\n"
    "     cannot be written\n"
    "  2  usage error: an unknown option, a missing or bad value\n";

std::string checkBaud(const std::string& value)
{
    return value == "4800" || value == "9600" ? "" : "must be 4800 or 9600, not " + value;
}

}  // namespace

std::variant<SimOptions, SimExit> parseSimOptions(int argc, const char* const* argv)
{
    SimOptions options;
    CLI::App app(kDescription, "veltrane-sim");
    app.set_help_flag("-h,--help", "print this help and exit");
    app.set_version_flag("--version", "veltrane-sim " VELTRANE_VERSION, "print the version and exit");
    app.add_option("--baud", options.baud, "the receiver's speed")
        ->check(CLI::Validator(checkBaud, ""))
        ->type_name("4800|9600")
        ->default_str("4800");
    CLI::Option* file =
        app.add_option("--file", options.capture, "send the bytes of a recorded capture instead of its own sentences")
            ->type_name("CAPTURE");
    app.add_flag("--loop", options.loop, "send the capture over and over")->needs(file);
    app.add_option("--device", options.device, "write to this serial device instead of a new pseudo-terminal")
        ->type_name("PATH");
    app.footer(kExitStatus);

    try {
        app.parse(argc, argv);
    } catch (const CLI::CallForHelp&) {
        return SimExit{0, app.help()};
    } catch (const CLI::CallForVersion& version) {
        return SimExit{0, std::string(version.what()) + "\n"};
    } catch (const CLI::ParseError& error) {
        return SimExit{kExitUsageError,
                       "veltrane-sim: " + std::string(error.what()) + "\nTry 'veltrane-sim --help' for more information.\n"};
    }
    return options;
}

}  // namespace veltrane::sim
