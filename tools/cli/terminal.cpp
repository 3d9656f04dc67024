// SPDX-License-Identifier: BSD-2-Clause
#include "terminal.h"

#ifdef _WIN32
#include <io.h>
#include <windows.h>
#else
#include <sys/ioctl.h>
#include <unistd.h>
#endif

namespace veltrane::cli {

std::string clipToColumns(std::string text, std::size_t columns)
{
    std::size_t characters = 0;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if ((static_cast<unsigned char>(text[i]) & 0xc0) == 0x80) continue;
        if (characters++ == columns) {
            text.resize(i);
            break;
        }
    }
    return text;
}

#ifdef _WIN32

bool isTerminal(std::FILE* file) { return _isatty(_fileno(file)) != 0; }

std::optional<TerminalSize> terminalSize(std::FILE* file)
{
    if (!isTerminal(file)) return std::nullopt;
    CONSOLE_SCREEN_BUFFER_INFO info{};
    const HANDLE console = reinterpret_cast<HANDLE>(_get_osfhandle(_fileno(file)));
    if (!GetConsoleScreenBufferInfo(console, &info)) return std::nullopt;
    return TerminalSize{static_cast<std::size_t>(info.srWindow.Right - info.srWindow.Left + 1),
                        static_cast<std::size_t>(info.srWindow.Bottom - info.srWindow.Top + 1)};
}

#else

bool isTerminal(std::FILE* file) { return ::isatty(::fileno(file)) == 1; }

std::optional<TerminalSize> terminalSize(std::FILE* file)
{
    winsize size{};
    if (::ioctl(::fileno(file), TIOCGWINSZ, &size) != 0 || size.ws_col == 0 || size.ws_row == 0) return std::nullopt;
    return TerminalSize{size.ws_col, size.ws_row};
}

#endif

}  // namespace veltrane::cli
