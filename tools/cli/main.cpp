// SPDX-License-Identifier: BSD-2-Clause
#include <csignal>

#include "run_command_line.h"

int main(int argc, char** argv)
{
#ifdef SIGPIPE
    // A reader that goes away (`| head -1`) shows as a failed write, which
    // ends the command quietly with the status the signal would give, instead
    // of killing it mid-write.
    std::signal(SIGPIPE, SIG_IGN);
#endif
    veltrane::cli::FileOutput out(stdout);
    veltrane::cli::FileOutput err(stderr);
    return veltrane::cli::runCommandLine({argv + 1, argv + argc}, out, err);
}
