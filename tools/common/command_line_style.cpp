// SPDX-License-Identifier: BSD-2-Clause
#include "command_line_style.h"

namespace veltrane::tools {

namespace {

constexpr std::size_t kHelpColumns = 80;

// Words on lines of at most `width` characters.
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

}  // namespace

HelpFormatter::HelpFormatter() { column_width(24); }

void HelpFormatter::describe(const CLI::App* command, std::string text)
{
    while (text.ends_with('\n')) text.pop_back();
    about_[command] = std::move(text);
}

// The value's name only: which options go together is said in the usage line.
std::string HelpFormatter::make_option_opts(const CLI::Option* option) const
{
    return option->get_type_size() != 0 && !option->get_type_name().empty() ? " " + option->get_type_name() : "";
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

}  // namespace veltrane::tools
