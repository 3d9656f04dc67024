// SPDX-License-Identifier: BSD-2-Clause
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "port_name.h"

namespace veltrane {

// A pick-only list with fixed entries, a selection and a click event: the model
// behind a drop-down box, driven alike by the window, the command-line tool and
// the automatic detection.
class SelectionBox {
public:
    explicit SelectionBox(std::vector<std::string> entries) : entries_(std::move(entries)) {}

    int count() const { return static_cast<int>(entries_.size()); }
    const std::string& entry(int index) const { return entries_.at(static_cast<std::size_t>(index)); }
    int selectedIndex() const { return selected_; }
    // The text of the selected entry; empty while nothing is selected.
    std::string selectedText() const { return selected_ < 0 ? std::string() : entry(selected_); }

    // Raises the click event whoever sets the selection, also for the entry
    // already selected: each selection opens the port afresh, so a search
    // never reads indicators left from before it, and picking the same port
    // again after replugging the receiver is a retry.
    void select(int index);

    bool enabled() const { return enabled_; }
    void setEnabled(bool enabled);

    std::function<void()> onClick;
    // Lets a view follow changes made from code (selection or enabled state).
    std::function<void()> onChanged;

private:
    std::vector<std::string> entries_;
    int selected_ = -1;
    bool enabled_ = true;
};

// The two boxes of the settings frame.
struct PortSelection {
    // The window's: Comm 1 to Comm 15, and 4800 and 9600.
    PortSelection();
    // A command line's: the ports and speeds it was given, in its order.
    PortSelection(const std::vector<PortName>& ports, const std::vector<int>& bauds);

    SelectionBox port;  // "Comm 1".."Comm 15"
    SelectionBox baud;  // "4800", "9600"
};

}  // namespace veltrane
