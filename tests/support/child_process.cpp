// SPDX-License-Identifier: BSD-2-Clause
#include "child_process.h"

#include <poll.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cstdlib>
#include <stdexcept>
#include <thread>

namespace veltrane::testing {

using namespace std::chrono_literals;
using SteadyClock = std::chrono::steady_clock;

Child::Child(std::vector<std::string> args, std::vector<std::string> environment, Output output)
{
    int out[2];
    if (::pipe(out) != 0) throw std::runtime_error("pipe");
    pid_ = ::fork();
    if (pid_ == 0) {
        ::dup2(out[1], STDOUT_FILENO);
        ::dup2(out[1], STDERR_FILENO);
        int unread[2];
        // Made and left here, before the program starts: it cannot write before its reader is gone.
        if (output == Output::readerGone && ::pipe(unread) == 0) {
            ::dup2(unread[1], STDOUT_FILENO);
            ::close(unread[0]);
            ::close(unread[1]);
        }
        ::close(out[0]);
        ::close(out[1]);
        for (const std::string& variable : environment) ::putenv(const_cast<char*>(variable.c_str()));
        std::vector<char*> argv;
        for (std::string& arg : args) argv.push_back(arg.data());
        argv.push_back(nullptr);
        ::execv(argv[0], argv.data());
        ::_exit(127);
    }
    ::close(out[1]);
    out_ = out[0];
}

Child::~Child()
{
    if (pid_ > 0) stop();
    if (out_ >= 0) ::close(out_);
}

std::string Child::read(const std::function<bool(const std::string&)>& done, std::chrono::milliseconds limit)
{
    const SteadyClock::time_point end = SteadyClock::now() + limit;
    while (!done(output_) && SteadyClock::now() < end) {
        pollfd ready{out_, POLLIN, 0};
        const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(end - SteadyClock::now());
        if (::poll(&ready, 1, static_cast<int>(std::max<long long>(left.count(), 0))) <= 0) continue;
        char buffer[4096];
        const ssize_t n = ::read(out_, buffer, sizeof buffer);
        if (n <= 0) break;
        output_.append(buffer, static_cast<std::size_t>(n));
    }
    return output_;
}

std::string Child::firstLine()
{
    const std::string text = read([](const std::string& s) { return s.find('\n') != std::string::npos; }, 5s);
    return text.substr(0, text.find('\n'));
}

int Child::wait(std::chrono::milliseconds limit)
{
    if (pid_ <= 0) return exitStatus_;
    const SteadyClock::time_point end = SteadyClock::now() + limit;
    if (out_ >= 0) read([](const std::string&) { return false; }, limit);
    int status = 0;
    pid_t ended = 0;
    while ((ended = ::waitpid(pid_, &status, WNOHANG)) == 0 && SteadyClock::now() < end + 2s)
        std::this_thread::sleep_for(10ms);
    if (ended != pid_) return -1;
    return recordEnd(status);
}

void Child::closeOutput()
{
    ::close(out_);
    out_ = -1;
}

// Never with a pid of -1 or 0: kill() would send the signal to every process we may signal.
void Child::signal(int number)
{
    if (pid_ > 0) ::kill(pid_, number);
}

int Child::stop(int signal)
{
    if (pid_ <= 0) return exitStatus_;
    ::kill(pid_, signal);
    int status = 0;
    for (int i = 0; i < 300 && ::waitpid(pid_, &status, WNOHANG) == 0; ++i) std::this_thread::sleep_for(10ms);
    if (::waitpid(pid_, &status, WNOHANG) == 0) {
        ::kill(pid_, SIGKILL);
        ::waitpid(pid_, &status, 0);
    }
    return recordEnd(status);
}

int Child::recordEnd(int status)
{
    pid_ = -1;
    exitStatus_ = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    return exitStatus_;
}

bool eventually(const std::function<bool()>& done)
{
    const auto end = SteadyClock::now() + 10s;
    while (!done() && SteadyClock::now() < end) std::this_thread::sleep_for(10ms);
    return done();
}

}  // namespace veltrane::testing
