#pragma once

#include <algorithm>
#include <chrono>
#include <csignal>
#include <cstdlib>
#include <functional>
#include <poll.h>
#include <stdexcept>
#include <string>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>
#include <vector>

namespace veltrane::testing {

using namespace std::chrono_literals;
using Clock = std::chrono::steady_clock;

// A program run with its standard output and error on a pipe; ended with SIGTERM.
class Child {
public:
    explicit Child(std::vector<std::string> args, std::vector<std::string> environment = {})
    {
        int out[2];
        if (::pipe(out) != 0) throw std::runtime_error("pipe");
        pid_ = ::fork();
        if (pid_ == 0) {
            ::dup2(out[1], STDOUT_FILENO);
            ::dup2(out[1], STDERR_FILENO);
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
    ~Child()
    {
        if (pid_ > 0) stop();
        if (out_ >= 0) ::close(out_);
    }

    // Reads standard output until `done` holds, the stream ends or `limit` passes.
    std::string read(const std::function<bool(const std::string&)>& done, std::chrono::milliseconds limit)
    {
        const Clock::time_point end = Clock::now() + limit;
        while (!done(output_) && Clock::now() < end) {
            pollfd ready{out_, POLLIN, 0};
            const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(end - Clock::now());
            if (::poll(&ready, 1, static_cast<int>(std::max<long long>(left.count(), 0))) <= 0) continue;
            char buffer[4096];
            const ssize_t n = ::read(out_, buffer, sizeof buffer);
            if (n <= 0) break;
            output_.append(buffer, static_cast<std::size_t>(n));
        }
        return output_;
    }
    std::string firstLine()
    {
        const std::string text = read([](const std::string& s) { return s.find('\n') != std::string::npos; }, 5s);
        return text.substr(0, text.find('\n'));
    }
    // Waits for the program to end by itself; its exit status, or -1 after `limit`.
    int wait(std::chrono::milliseconds limit)
    {
        const Clock::time_point end = Clock::now() + limit;
        if (out_ >= 0) read([](const std::string&) { return false; }, limit);
        int status = 0;
        pid_t ended = 0;
        while ((ended = ::waitpid(pid_, &status, WNOHANG)) == 0 && Clock::now() < end + 2s)
            std::this_thread::sleep_for(10ms);
        if (ended != pid_) return -1;
        pid_ = -1;
        return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    }
    // Closes our end of its output, as a reader that went away (`| head -1`).
    void closeOutput()
    {
        ::close(out_);
        out_ = -1;
    }

    // Sends a signal, then waits for the exit status (-1 if it had to be killed).
    int stop(int signal = SIGTERM)
    {
        ::kill(pid_, signal);
        int status = 0;
        for (int i = 0; i < 300 && ::waitpid(pid_, &status, WNOHANG) == 0; ++i) std::this_thread::sleep_for(10ms);
        if (::waitpid(pid_, &status, WNOHANG) == 0) {
            ::kill(pid_, SIGKILL);
            ::waitpid(pid_, &status, 0);
            pid_ = -1;
            return -1;
        }
        pid_ = -1;
        return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    }

private:
    pid_t pid_ = -1;
    int out_ = -1;
    std::string output_;
};

}  // namespace veltrane::testing
