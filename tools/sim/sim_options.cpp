#include "sim_options.h"

#include <string_view>

namespace veltrane::sim {

const char* const kSimUsage =
    "usage: veltrane-sim [--baud 4800|9600] [--file CAPTURE] [--loop] [--device PATH]\n"
    "\n"
    "Plays a GPS receiver at the pace of its baud rate. Without --device it opens a\n"
    "pseudo-terminal and prints the path of its other side as the first line, for\n"
    "VELTRANE_PORTS (for example VELTRANE_PORTS=1=/dev/pts/4).\n"
    "\n"
    "  --baud 4800|9600  the receiver's speed (default 4800)\n"
    "  --file CAPTURE    send the bytes of a recorded capture instead of its own sentences\n"
    "  --loop            send the capture over and over\n"
    "  --device PATH     write to this serial device instead of a new pseudo-terminal\n";

std::variant<SimOptions, UsageError, HelpRequested> parseSimOptions(int argc, const char* const* argv)
{
    SimOptions options;
    for (int i = 1; i < argc; ++i) {
        const std::string_view arg = argv[i];
        const auto value = [&]() -> std::optional<std::string> {
            if (i + 1 >= argc) return std::nullopt;
            return std::string(argv[++i]);
        };
        if (arg == "--help" || arg == "-h") return HelpRequested{};
        if (arg == "--loop") {
            options.loop = true;
        } else if (arg == "--baud" || arg == "--file" || arg == "--device") {
            const std::optional<std::string> given = value();
            if (!given) return UsageError{std::string(arg) + " needs a value"};
            if (arg == "--baud") {
                if (*given != "4800" && *given != "9600") return UsageError{"--baud must be 4800 or 9600, not " + *given};
                options.baud = std::stoi(*given);
            } else if (arg == "--file") {
                options.capture = *given;
            } else {
                options.device = *given;
            }
        } else {
            return UsageError{"unknown option " + std::string(arg)};
        }
    }
    if (options.loop && options.capture.empty()) return UsageError{"--loop needs --file"};
    return options;
}

}  // namespace veltrane::sim
