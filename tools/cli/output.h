// SPDX-License-Identifier: BSD-2-Clause
#pragma once

#include <cstdio>
#include <functional>
#include <string>
#include <string_view>
#include <utility>

namespace veltrane::cli {

// Where a command writes its results or its complaints. A write that fails
// (a full disk, a reader that went away) is remembered rather than thrown:
// writes happen inside observers that Qt's event loop calls, and nothing may
// unwind through it. The command looks at failed() when it ends; onFailure
// lets it stop early.
class Output {
public:
    virtual ~Output() = default;

    void write(std::string_view text);
    void line(std::string_view text);
    void flush();

    bool failed() const { return error_ != 0; }
    // The reader went away (EPIPE): nobody is left to tell, so the command ends quietly.
    bool readerGone() const;
    // Why the last write failed, for the one line the command prints on its error output.
    std::string failureText() const;

    // Called once, at the first write that fails.
    std::function<void()> onFailure;

protected:
    // Return errno (0 on success).
    virtual int put(std::string_view text) = 0;
    virtual int sync() = 0;

private:
    void fail(int error);

    int error_ = 0;
};

// Sets `out.onFailure` for as long as it lives: a handler that refers to a
// command's locals must not be called once the command has returned.
class FailureHandler {
public:
    FailureHandler(Output& out, std::function<void()> handler) : out_(out) { out_.onFailure = std::move(handler); }
    ~FailureHandler() { out_.onFailure = nullptr; }
    FailureHandler(const FailureHandler&) = delete;
    FailureHandler& operator=(const FailureHandler&) = delete;

private:
    Output& out_;
};

class FileOutput final : public Output {
public:
    explicit FileOutput(std::FILE* file) : file_(file) {}
    std::FILE* file() const { return file_; }

private:
    int put(std::string_view text) override;
    int sync() override;

    std::FILE* file_;
};

// Collects what is written, for tests and for text built before it is sent.
class StringOutput final : public Output {
public:
    const std::string& text() const { return text_; }

private:
    int put(std::string_view text) override;
    int sync() override { return 0; }

    std::string text_;
};

}  // namespace veltrane::cli
