// SPDX-License-Identifier: BSD-2-Clause
#include "live_panel.h"

#include "clock.h"
#include "device_text.h"
#include "event_printer.h"
#include "terminal.h"

namespace veltrane::cli {

namespace {

constexpr std::size_t kReadoutRows = 9;
constexpr TerminalSize kUnknownTerminal{80, 24};

}  // namespace

std::string renderPanel(LiveMonitor& live, const std::string& heading, std::size_t width, std::size_t height)
{
    std::string panel = clipToColumns(heading, width) + "\n";
    const std::uint64_t lost = live.assembler().lostChunks();
    panel += lost == 0 ? "\n" : clipToColumns(chunksLostText(lost), width) + "\n";
    for (std::size_t i = 0; i < kFieldCount; ++i) {
        if (i == kReadoutRows) panel += '\n';
        panel += clipToColumns(readoutLine(live.fields(), static_cast<Field>(i)), width) + '\n';
    }
    const SentenceLog& log = live.log();
    panel += "\nTime                 NMEA Data (" + std::to_string(log.size()) + " rows)\n";
    const std::size_t used = kFieldCount + 6;
    const std::size_t rows = height > used + 3 ? height - used : 3;
    for (std::size_t i = 0; i < log.size() && i < rows; ++i) {
        const LogRow row = log.row(i);
        panel += clipToColumns(formatTimestamp(row.time) + "  " + escapeDeviceText(row.data), width) + '\n';
    }
    return panel;
}

LivePanel::LivePanel(LiveMonitor& live, std::string heading, Output& out, std::FILE* terminal)
    : live_(live), heading_(std::move(heading)), out_(out), terminal_(terminal)
{
    live_.fields().addObserver(this);
    live_.log().addObserver(this);
    QObject::connect(&redraw_, &QTimer::timeout, [this] { draw(); });
    redraw_.start(200);
    out_.write("\x1b[2J");
}

LivePanel::~LivePanel()
{
    live_.fields().removeObserver(this);
    live_.log().removeObserver(this);
}

void LivePanel::draw()
{
    if (!changed_) return;
    changed_ = false;
    const TerminalSize size = terminalSize(terminal_).value_or(kUnknownTerminal);
    const std::string panel = renderPanel(live_, heading_, size.columns, size.rows);
    // Home, then each line cleared to its end and whatever the previous
    // frame left below: a shorter text must not show the old one's tail.
    std::string frame = "\x1b[H";
    for (const char c : panel) frame += c == '\n' ? "\x1b[K\n" : std::string(1, c);
    frame += "\x1b[J";
    out_.write(frame);
    out_.flush();
}

}  // namespace veltrane::cli
