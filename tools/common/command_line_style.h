// SPDX-License-Identifier: BSD-2-Clause
#pragma once

#include <CLI/CLI.hpp>

#include <map>
#include <optional>
#include <string>
#include <vector>

namespace veltrane::tools {

// How every Veltrane program's command line reads and answers, so that
// veltrane-cli and veltrane-sim behave alike.

// Each help text is our own usage line and description, then the options as
// CLI11 lists them, then the exit-code table (the command's footer). Every
// line fits in 80 columns, on a terminal and in the manual page made from it.
class HelpFormatter final : public CLI::Formatter {
public:
    HelpFormatter();

    void describe(const CLI::App* command, std::string text);
    std::string make_option_name(const CLI::Option* option, bool positional) const override;
    std::string make_option_opts(const CLI::Option* option) const override;
    std::string make_option_desc(const CLI::Option* option) const override;
    std::string make_help(const CLI::App* command, std::string, CLI::AppFormatMode mode) const override;

private:
    std::map<const CLI::App*, std::string> about_;
};

// Words on lines of at most `width` characters.
std::string wrapped(const std::string& text, std::size_t width = 80);

// "Exit status:" and one indented line per row.
std::string exitTable(const std::vector<const char*>& rows);

// Help wins over everything else on the line, as people expect when they add
// --help to a command that just failed.
bool asksForHelp(const std::vector<std::string>& arguments);

// What went wrong, naming the argument: "--comm: must be ...", "--comm needs a value",
// "--comm given more than once".
std::string describeParseError(const CLI::ParseError& error);

// The one line a usage error prints: "PROGRAM: WHY (see 'PROGRAM --help')".
std::string usageErrorLine(const std::string& program, const std::string& why);

// The look and the help and version flags of a program without commands: its
// help opens with `about` (usage line and description) and closes with the
// exit table; --version prints `version`.
void presentProgram(CLI::App& app, const std::string& about, const std::string& version,
                    const std::vector<const char*>& exitRows);

// What a program without commands prints instead of running: the help or the
// version (status 0, for standard output) or a usage error (status 2, one line
// for standard error). Empty when the arguments let it run.
struct EarlyExit {
    int status;
    std::string text;
};
std::optional<EarlyExit> parseWithoutCommands(CLI::App& app, const std::string& program,
                                              const std::vector<std::string>& arguments);

}  // namespace veltrane::tools
