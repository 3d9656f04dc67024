// SPDX-License-Identifier: BSD-2-Clause
#include "selection_box.h"

#include <stdexcept>

#include "baud_rates.h"

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

std::vector<std::string> portEntries(const std::vector<PortName>& ports)
{
    std::vector<std::string> entries;
    for (const PortName& port : ports) entries.push_back(port.label());
    return entries;
}

std::vector<std::string> baudEntries(const std::vector<int>& bauds)
{
    std::vector<std::string> entries;
    for (const int baud : bauds) entries.push_back(std::to_string(baud));
    return entries;
}

}  // namespace

PortSelection::PortSelection()
    : PortSelection(commPorts(), std::vector<int>(kWindowBauds.begin(), kWindowBauds.end()))
{
}

PortSelection::PortSelection(const std::vector<PortName>& ports, const std::vector<int>& bauds)
    : port(portEntries(ports)), baud(baudEntries(bauds))
{
}

}  // namespace veltrane
