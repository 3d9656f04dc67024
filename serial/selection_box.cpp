// SPDX-License-Identifier: BSD-2-Clause
#include "selection_box.h"

#include <stdexcept>

#include "comm_map.h"

namespace veltrane {

void SelectionBox::select(int index)
{
    if (index < 0 || index >= count()) throw std::out_of_range("no such entry");
    selected_ = index;
    if (onChanged) onChanged();
    if (onClick) onClick();
}

void SelectionBox::setEnabled(bool enabled)
{
    enabled_ = enabled;
    if (onChanged) onChanged();
}

namespace {
std::vector<std::string> commEntries()
{
    std::vector<std::string> entries;
    for (int port = 1; port <= kLastComm; ++port) entries.push_back("Comm " + std::to_string(port));
    return entries;
}
}  // namespace

PortSelection::PortSelection() : cboCommPort(commEntries()), cboBaud({"4800", "9600"}) {}

}  // namespace veltrane
