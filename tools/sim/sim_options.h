#pragma once

#include <optional>
#include <string>
#include <variant>

namespace veltrane::sim {

struct SimOptions {
    int baud = 4800;
    std::string capture;  // empty: the simulator's own receiver
    bool loop = false;
    std::string device;   // empty: a new pseudo-terminal
};

struct UsageError {
    std::string message;
};
struct HelpRequested {};

std::variant<SimOptions, UsageError, HelpRequested> parseSimOptions(int argc, const char* const* argv);

extern const char* const kSimUsage;

}  // namespace veltrane::sim
