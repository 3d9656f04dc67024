// SPDX-License-Identifier: BSD-2-Clause
#include "auto_detect.h"

#include <cmath>
#include <exception>

namespace veltrane {

std::optional<double> trialListensUntil(const StatusFields& fields, double sinceMark)
{
    constexpr double kFirstWait = 1;
    constexpr double kLongestWait = 4;
    if (sinceMark < kFirstWait) return kFirstWait;
    if (!fields.reads(Field::CommOk, kYes) || !fields.reads(Field::Found, kYes)) return std::nullopt;
    if (fields.reads(Field::IsGps, kYes) || sinceMark >= kLongestWait) return std::nullopt;
    return kLongestWait;
}

AutoDetect::AutoDetect(PortSelection& selection, const StatusFields& fields, DetectionView& view,
                       DetectionLoop& loop)
    : selection_(selection), fields_(fields), view_(view), loop_(loop)
{
}

AutoDetect::~AutoDetect() { *alive_ = false; }

void AutoDetect::setControlsEnabled(bool enabled)
{
    selection_.port.setEnabled(enabled);
    selection_.baud.setEnabled(enabled);
    view_.setAutoEnabled(enabled);
}

void AutoDetect::run()
{
    // Every frame keeps its own share: the window may close, and take this
    // object with it, while the search waits in the event loop.
    const std::shared_ptr<bool> alive = alive_;
    if (!*alive) return;
    try {
        view_.setSettingsCaption(std::string(kSearchingCaption));
        setControlsEnabled(false);
        loop_.runPending();
        if (!*alive) return;
        if (search(alive) == Outcome::Abandoned) return;
        if (reads(Field::IsGps, kNo)) {
            view_.showMessage(DetectionView::Icon::Information, std::string(kNotDetectedMessage));
            if (!*alive) return;
        }
    } catch (const std::exception&) {
        if (!*alive) return;
        view_.showMessage(DetectionView::Icon::Warning, std::string(kSearchFailedMessage));
        if (!*alive) return;
    }
    setControlsEnabled(true);
    view_.setSettingsCaption(std::string(kSettingsCaption));
}

AutoDetect::Outcome AutoDetect::search(const std::shared_ptr<bool>& alive)
{
    const int ports = selection_.port.count();
    for (int port = 0; port < ports; ++port) {
        const int bauds = selection_.baud.count();
        for (int baud = 0; baud < bauds; ++baud) {
            if (tryCombination(port, baud, alive) == Outcome::Abandoned) return Outcome::Abandoned;
            if (reads(Field::IsGps, kYes)) break;
        }
        if (reads(Field::IsGps, kYes)) break;
    }
    return Outcome::Finished;
}

AutoDetect::Outcome AutoDetect::tryCombination(int portIndex, int baudIndex,
                                               const std::shared_ptr<bool>& alive)
{
    // Each selection that changes reopens the port, which runs no events: the
    // search cannot be closed between the two.
    selection_.port.select(portIndex);
    selection_.baud.select(baudIndex);
    if (onTrying) onTrying(portIndex + 1, selection_.baud.entry(baudIndex));

    // The nearest whole second, ties to even, so the first wait ends 0.5 to 1.5 s later.
    const double mark = std::nearbyint(loop_.timeOfDay().count());
    while (const std::optional<double> until = trialListensUntil(fields_, loop_.timeOfDay().count() - mark)) {
        loop_.runPendingUntil(std::chrono::duration<double>(mark + *until));
        if (!*alive) return Outcome::Abandoned;
    }
    return Outcome::Finished;
}

}  // namespace veltrane
