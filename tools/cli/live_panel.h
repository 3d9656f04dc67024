// SPDX-License-Identifier: BSD-2-Clause
#pragma once

#include <QTimer>

#include <string>

#include "live_monitor.h"
#include "output.h"

namespace veltrane::cli {

// The window's readout, indicators and newest log rows as lines of text,
// each at most `width` characters so that nothing wraps.
std::string renderPanel(LiveMonitor& live, const std::string& heading, std::size_t width, std::size_t height);

// The monitor on a terminal: the panel redrawn in place, at most five times a
// second and only after a change.
class LivePanel final : public FieldObserver, public LogObserver {
public:
    LivePanel(LiveMonitor& live, std::string heading, Output& out, std::FILE* terminal);
    ~LivePanel() override;
    LivePanel(const LivePanel&) = delete;
    LivePanel& operator=(const LivePanel&) = delete;

    void fieldWritten(Field, const std::string&) override { changed_ = true; }
    void rowInserted(const LogRow&) override { changed_ = true; }
    void cleared() override { changed_ = true; }
    void draw();

private:
    LiveMonitor& live_;
    std::string heading_;
    Output& out_;
    std::FILE* terminal_;
    QTimer redraw_;
    bool changed_ = true;
};

}  // namespace veltrane::cli
