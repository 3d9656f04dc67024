// SPDX-License-Identifier: BSD-2-Clause
#pragma once

#include <sys/types.h>

#include <chrono>
#include <csignal>
#include <functional>
#include <string>
#include <vector>

namespace veltrane::testing {

// A program run with its standard output and error on a pipe; ended with SIGTERM.
class Child {
public:
    // `readerGone`: its standard output is a pipe whose reader has already
    // gone (as in `| true`), and only its errors come to us.
    enum class Output { read, readerGone };

    explicit Child(std::vector<std::string> args, std::vector<std::string> environment = {},
                   Output output = Output::read);
    ~Child();
    Child(const Child&) = delete;
    Child& operator=(const Child&) = delete;

    pid_t pid() const { return pid_; }
    // Reads standard output until `done` holds, the stream ends or `limit` passes.
    std::string read(const std::function<bool(const std::string&)>& done, std::chrono::milliseconds limit);
    std::string firstLine();
    // Waits for the program to end by itself; its exit status, or -1 after `limit`.
    int wait(std::chrono::milliseconds limit);
    // Closes our end of its output, as a reader that went away (`| head -1`).
    void closeOutput();
    // Sends a signal and goes on: whether the program survives it is for wait() to show.
    void signal(int number);
    // Sends a signal, then waits for the exit status (-1 if it had to be killed).
    // Once the program has ended, wait() and stop() give its status again and
    // signal() does nothing: its pid may belong to another process by then.
    int stop(int signal = SIGTERM);

private:
    int recordEnd(int status);

    pid_t pid_ = -1;
    int exitStatus_ = -1;
    int out_ = -1;
    std::string output_;
};

// Waits up to ten seconds for `done`: what another process does shows only by looking.
bool eventually(const std::function<bool()>& done);

}  // namespace veltrane::testing
