// SPDX-License-Identifier: BSD-2-Clause
#include "command_line_style.h"

#include <memory>

#include "device_text.h"

namespace veltrane::tools {

namespace {

constexpr std::size_t kHelpColumns = 80;

// CLI11 names such a flag "--ubx{yes}", with what it means given bare.
bool valueIsOptional(const CLI::Option* option)
{
    return option->get_name(false, true).find('{') != std::string::npos;
}

}  // namespace

std::string wrapped(const std::string& text, std::size_t width)
{
    std::string out;
    std::size_t lineStart = 0;
    std::size_t from = 0;
    while (from < text.size()) {
        const std::size_t space = text.find(' ', from);
        const std::string word = text.substr(from, space == std::string::npos ? std::string::npos : space - from);
        if (out.size() > lineStart && out.size() - lineStart + 1 + word.size() > width) {
            out += '\n';
            lineStart = out.size();
        } else if (out.size() > lineStart) {
            out += ' ';
        }
        out += word;
        from = space == std::string::npos ? text.size() : space + 1;
    }
    return out;
}

HelpFormatter::HelpFormatter() { column_width(24); }

void HelpFormatter::describe(const CLI::App* command, std::string text)
{
    while (text.ends_with('\n')) text.pop_back();
    about_[command] = std::move(text);
}

// A flag that may take a value shows as "--ubx[=LIST]".
std::string HelpFormatter::make_option_name(const CLI::Option* option, bool positional) const
{
    if (!valueIsOptional(option)) return CLI::Formatter::make_option_name(option, positional);
    return option->get_name() + "[=" + option->get_type_name() + "]";
}

// The value's name only: which options go together is said in the usage line.
std::string HelpFormatter::make_option_opts(const CLI::Option* option) const
{
    if (valueIsOptional(option) || option->get_type_size() == 0 || option->get_type_name().empty()) return "";
    return " " + option->get_type_name();
}

// CLI11 indents each line after the first to the column of the descriptions.
std::string HelpFormatter::make_option_desc(const CLI::Option* option) const
{
    return wrapped(CLI::Formatter::make_option_desc(option), kHelpColumns - column_width_);
}

std::string HelpFormatter::make_help(const CLI::App* command, std::string, CLI::AppFormatMode mode) const
{
    std::string text = about_.at(command) + "\n" + make_positionals(command) + make_groups(command, mode) + "\n" +
                       make_footer(command);
    while (text.ends_with("\n\n")) text.pop_back();
    return text;
}

std::string exitTable(const std::vector<const char*>& rows)
{
    std::string table = "Exit status:\n";
    for (const char* row : rows) table.append("  ").append(row).append("\n");
    return table;
}

bool asksForHelp(const std::vector<std::string>& arguments)
{
    for (const std::string& argument : arguments) {
        if (argument == "--") return false;
        if (argument == "-h" || argument == "--help") return true;
    }
    return false;
}

std::string describeParseError(const CLI::ParseError& error)
{
    // CLI11 says "--comm: 1 required N missing" for a missing value, and
    // "--comm: At Most 1 required but received 2" for an option given twice.
    const std::string what = error.what();
    if (error.get_name() != "ArgumentMismatch") return what;
    const std::string name = what.substr(0, what.find(':'));
    return name + (what.find(": At Most ") != std::string::npos ? " given more than once" : " needs a value");
}

std::string usageErrorLine(const std::string& program, const std::string& why)
{
    return program + ": " + why + " (see '" + program + " --help')";
}

void presentProgram(CLI::App& app, const std::string& about, const std::string& version,
                    const std::vector<const char*>& exitRows)
{
    const auto formatter = std::make_shared<HelpFormatter>();
    app.formatter(formatter);
    formatter->describe(&app, about);
    app.set_help_flag("-h,--help", "print this help and exit");
    app.set_version_flag("--version", version, "print the version and exit");
    app.allow_extras();
    app.footer(exitTable(exitRows));
}

std::optional<EarlyExit> parseWithoutCommands(CLI::App& app, const std::string& program,
                                              const std::vector<std::string>& arguments)
{
    if (asksForHelp(arguments)) return EarlyExit{0, app.help()};
    const auto usageError = [&](const std::string& why) { return EarlyExit{2, usageErrorLine(program, why) + "\n"}; };
    try {
        // CLI11 takes the arguments last first.
        app.parse(std::vector<std::string>(arguments.rbegin(), arguments.rend()));
    } catch (const CLI::CallForVersion& version) {
        return EarlyExit{0, std::string(version.what()) + "\n"};
    } catch (const CLI::ParseError& error) {
        return usageError(describeParseError(error));
    }
    if (app.remaining().empty()) return std::nullopt;
    const std::string first = app.remaining().front();
    return usageError((first.starts_with("-") ? "unknown option " : "unexpected argument ") + quotedUserText(first));
}

}  // namespace veltrane::tools
