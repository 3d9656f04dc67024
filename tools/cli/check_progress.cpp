// SPDX-License-Identifier: BSD-2-Clause
#include "check_progress.h"

#include <algorithm>
#include <cmath>

#include "device_text.h"
#include "live_watch.h"
#include "number_text.h"
#include "terminal.h"

namespace veltrane::cli {

namespace {

constexpr TerminalSize kUnknownTerminal{80, 24};
constexpr int kRedrawMilliseconds = 250;

std::string orDash(const std::optional<double>& value, int decimals, const std::string& unit = "")
{
    return value ? health::fixedText(*value, decimals) + unit : "-";
}

// Columns padded to their widths, the last one as it is.
std::string row(const std::vector<std::string>& cells, const std::vector<std::size_t>& widths, std::size_t width)
{
    std::string line;
    for (std::size_t i = 0; i < cells.size(); ++i) {
        std::string cell = cells[i];
        if (i + 1 < cells.size()) cell.resize(std::max(cell.size(), widths[i]) + 2, ' ');
        line += cell;
    }
    return clipToColumns(line, width);
}

std::vector<std::string> cellsOf(const CheckedReceiver& receiver)
{
    const std::optional<int> baud = receiver.baud();
    const health::Progress progress = receiver.progress();
    const bool listening = receiver.state() == CheckedReceiver::State::Listening;
    return {escapeDeviceText(receiver.port().label()),
            baud ? std::to_string(*baud) : "-",
            stateText(receiver),
            progress.fix ? (*progress.fix ? "yes" : "no") : "-",
            orDash(progress.satellitesUsed, 0),
            orDash(progress.cn0, 0),
            orDash(progress.ttffSeconds, 1, " s"),
            progress.damagedShare ? health::fixedText(*progress.damagedShare * 100, 1) + " %" : "-",
            listening ? health::fixedText(std::ceil(receiver.secondsLeft()), 0) + " s" : "-"};
}

}  // namespace

std::string stateText(const CheckedReceiver& receiver)
{
    switch (receiver.state()) {
    case CheckedReceiver::State::Searching: return "searching";
    case CheckedReceiver::State::Listening: return "listening";
    case CheckedReceiver::State::NoReceiver: return "no receiver";
    case CheckedReceiver::State::Lost: return "lost";
    case CheckedReceiver::State::Finished: break;
    }
    return receiver.verdict().pass ? "passed" : "failed";
}

std::string progressTable(const Receivers& receivers, std::size_t width, std::size_t height)
{
    std::vector<std::vector<std::string>> rows = {
        {"PORT", "BAUD", "STATE", "FIX", "SATS", "C/N0", "TTFF", "DAMAGED", "LEFT"}};
    // Beyond the terminal's height the lines drawn in place would scroll away.
    const std::size_t shown = std::min(receivers.size(), height > 2 ? height - 2 : 0);
    for (std::size_t i = 0; i < shown; ++i) rows.push_back(cellsOf(*receivers[i]));
    std::vector<std::size_t> widths(rows.front().size(), 0);
    for (const auto& cells : rows)
        for (std::size_t i = 0; i < cells.size(); ++i) widths[i] = std::max(widths[i], cells[i].size());
    std::string table;
    for (const auto& cells : rows) table += row(cells, widths, width) + "\n";
    if (shown < receivers.size()) table += "and " + std::to_string(receivers.size() - shown) + " more\n";
    return table;
}

std::string changeLine(const CheckedReceiver& receiver, double seconds)
{
    std::string line = escapeDeviceText(receiver.port().label()) + ": " + stateText(receiver);
    switch (receiver.state()) {
    case CheckedReceiver::State::Searching: break;
    case CheckedReceiver::State::Listening:
        line += " at " + std::to_string(*receiver.baud()) + " baud for " + health::shortestText(seconds) + " s";
        break;
    case CheckedReceiver::State::NoReceiver: line += ": " + escapeDeviceText(receiver.noReceiverReason()); break;
    case CheckedReceiver::State::Lost: line += " after " + health::fixedText(receiver.heardSeconds(), 1) + " s"; break;
    case CheckedReceiver::State::Finished:
        if (receiver.interrupted()) line += ", interrupted after " + health::fixedText(receiver.heardSeconds(), 1) + " s";
        break;
    }
    return line;
}

CheckProgress::CheckProgress(const Receivers& receivers, double seconds, Output& err)
    : receivers_(receivers), seconds_(seconds), err_(err), terminal_(LiveWatch::terminalOf(err))
{
    if (!terminal_) return;
    QObject::connect(&redraw_, &QTimer::timeout, [this] { draw(); });
    redraw_.start(kRedrawMilliseconds);
}

void CheckProgress::changed(const CheckedReceiver& receiver)
{
    if (terminal_) return;
    err_.line(changeLine(receiver, seconds_));
    err_.flush();
}

void CheckProgress::finish()
{
    redraw_.stop();
    if (terminal_) draw();
}

void CheckProgress::draw()
{
    const TerminalSize size = terminalSize(terminal_).value_or(kUnknownTerminal);
    const std::string table = progressTable(receivers_, size.columns, size.rows);
    // Back to the table's first line, then each line cleared to its end.
    std::string frame = drawnLines_ > 0 ? "\x1b[" + std::to_string(drawnLines_) + "F" : "";
    for (const char c : table) frame += c == '\n' ? "\x1b[K\n" : std::string(1, c);
    drawnLines_ = static_cast<std::size_t>(std::count(table.begin(), table.end(), '\n'));
    err_.write(frame);
    err_.flush();
}

}  // namespace veltrane::cli
