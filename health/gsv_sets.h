// SPDX-License-Identifier: BSD-2-Clause
#pragma once

#include <optional>
#include <string_view>

#include "gsv_sentence.h"
#include "health_figures.h"

namespace veltrane::health {

// $GPGSV,3,1,11,...  $GPGSV,3,2,11,...  $GPGSV,3,3,11,...
// A receiver reports the satellites it sees in a set of GSV messages, one set
// per talker and signal ID. A set counts once all of its messages arrived in
// order; one that lost a message to a line error says nothing.
class GsvSets {
public:
    void add(std::string_view talker, const GsvSentence& gsv, double at);
    // Forgets the signals last heard before `time`: a receiver that stopped
    // reporting one no longer sees it, and a stream of made-up signal IDs
    // cannot pile up.
    void forget(double time);
    // Talker to signal ID to the satellites in view of the last complete set.
    ByText<ByText<double>> inView() const;

private:
    struct Signal {
        unsigned total = 0;  // of the set under way; 0 when none is
        unsigned next = 0;
        double openedInView = 0;
        std::optional<double> inView;  // of the last complete set
        double lastHeard = 0;
    };
    ByText<ByText<Signal>> signals_;
};

}  // namespace veltrane::health
