// SPDX-License-Identifier: BSD-2-Clause
#include "port_search.h"

#include "live_watch.h"

namespace veltrane::cli {

PortSearch::PortSearch(LiveMonitor& live) : live_(live), detect_(live.selection(), live.fields(), *this, loop_)
{
    live_.onPortFailure = [this](const Failure& failure) {
        if (isStartUpOpeningFailure(failure, live_.selection())) return;
        // A Comm number without a device is the common case and says nothing;
        // a device named on the command line that is missing is a mistake.
        const int entry = live_.selection().port.selectedIndex();
        const bool named = live_.choices().ports.at(static_cast<std::size_t>(entry)).comm == 0;
        if (failure.number() != kPortDoesNotExist || named) openingFailure_ = failure;
    };
    detect_.onTrying = [this](int entry, const std::string& baud) {
        std::optional<std::string> why;
        // The trial's first opening may fail and its second succeed.
        if (openingFailure_ && !live_.port().isOpen()) why = openingFailure_->detail();
        openingFailure_.reset();
        if (why && (unopened_.empty() || unopened_.back() != *why)) unopened_.push_back(*why);
        if (onTrying) onTrying(live_.choices().ports.at(static_cast<std::size_t>(entry) - 1), baud, why);
    };
}

void PortSearch::showMessage(Icon icon, const std::string& text)
{
    failed_ = icon == Icon::Warning;
    message_ = text;
}

PortSearch::Result PortSearch::run()
{
    live_.selectFirstEntries();
    detect_.run();
    const PortSelection& selection = live_.selection();
    Result result{Outcome::Found, live_.choices().ports.at(static_cast<std::size_t>(selection.port.selectedIndex())),
                  selection.baud.selectedText(), message_, unopened_};
    if (stopped_)
        result.outcome = Outcome::Stopped;
    else if (failed_)
        result.outcome = Outcome::Failed;
    else if (!message_.empty())
        result.outcome = Outcome::NothingRecognised;
    return result;
}

void PortSearch::stop()
{
    stopped_ = true;
    detect_.shutdown();
    live_.close();
}

}  // namespace veltrane::cli
