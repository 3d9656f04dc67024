// SPDX-License-Identifier: BSD-2-Clause
#include "live_monitor.h"

#include <chrono>
#include <optional>

#include "qt_event_loop.h"
#include "qt_serial_port.h"

namespace veltrane {

namespace {
constexpr std::chrono::milliseconds kTickInterval{100};
constexpr std::chrono::milliseconds kPassSlice{30};
// A tick at 4800 baud brings about 48 characters, which a pass scans in
// microseconds: a yield after each cost the window more than everything else
// it does while watching. Long stretches (a flood, a line without end) still
// let events run many times a millisecond.
constexpr std::size_t kCharactersPerYield = 64;

// The port as the receive handler reads it, with every read also handed to a tap.
class TappedInput final : public SerialInput {
public:
    TappedInput(SerialInput& port, const std::function<void(std::string_view)>& tap) : port_(port), tap_(tap) {}

    std::int64_t bytesWaiting() override { return port_.bytesWaiting(); }
    std::string readAll() override
    {
        std::string text = port_.readAll();
        if (tap_) tap_(text);
        return text;
    }

private:
    SerialInput& port_;
    const std::function<void(std::string_view)>& tap_;
};

}  // namespace

struct LiveMonitor::Parts {
    Parts(const Clock& clock, CommMap map, const PortChoices& choices,
          std::function<void(const Failure&)>& onPortFailure, std::function<void(std::string_view)>& onReceived)
        : choices(choices),
          onPortFailure(onPortFailure),
          onReceived(onReceived),
          monitor(clock, pump),
          selection(choices.ports, choices.bauds),
          port(std::move(map), choices.ports),
          gpsPort(monitor.fields, monitor.log, port, selection),
          ticker(kTickInterval, [this] { tick(); })
    {
        monitor.assembler.setTimeBudget(kPassSlice);
        monitor.assembler.setCharactersPerYield(kCharactersPerYield);
        port.setOnReceive([this] { receive(); });
        gpsPort.onFailure = [this](const Failure& failure) {
            if (this->onPortFailure) this->onPortFailure(failure);
        };
    }

    void tick()
    {
        SentenceAssembler& assembler = monitor.assembler;
        assembler.tick();
        if (assembler.passInProgress()) ticker.runSoon();
        reportLossOnceInterpreted();
    }

    // Steps 3 and 4 of a loss's path, told above QtSerialPort::portError: a
    // loss is reported after a pass that began after it has finished.
    void receive()
    {
        if (bytesOnly) {
            readBytes();
            return;
        }
        if (port.lossWaiting() == nullptr) {
            TappedInput input(port, onReceived);
            monitor.ring.store(input);
            return;
        }
        const SentenceAssembler& assembler = monitor.assembler;
        if (!lossDueAfter) lossDueAfter = assembler.passesFinished() + (assembler.passInProgress() ? 2 : 1);
    }

    // The loss comes as a failure of the read after the last bytes.
    void readBytes()
    {
        try {
            if (port.bytesWaiting() > 0) {
                const std::string text = port.readAll();
                if (onReceived) onReceived(text);
            }
        } catch (const Failure& failure) {
            if (onPortFailure) onPortFailure(failure);
        }
    }

    void reportLossOnceInterpreted()
    {
        if (!lossDueAfter) return;
        const Failure* loss = port.lossWaiting();
        if (loss == nullptr) {  // the port was opened or closed since
            lossDueAfter.reset();
            return;
        }
        if (monitor.assembler.passesFinished() < *lossDueAfter) return;
        lossDueAfter.reset();
        const Failure reported = *loss;
        monitor.ring.store(port);
        if (onPortFailure) onPortFailure(reported);
    }

    PortChoices choices;
    std::function<void(const Failure&)>& onPortFailure;
    std::function<void(std::string_view)>& onReceived;
    QtEventPump pump;
    Monitor monitor;
    PortSelection selection;
    QtSerialPort port;
    GpsPort gpsPort;
    TickDriver ticker;
    std::optional<std::uint64_t> lossDueAfter;  // the number of finished passes the report waits for
    bool bytesOnly = false;
};

LiveMonitor::LiveMonitor(const Clock& clock, CommMap map, const PortChoices& choices)
    : parts_(std::make_unique<Parts>(clock, std::move(map), choices, onPortFailure, onReceived))
{
    parts_->ticker.start();
}

LiveMonitor::~LiveMonitor()
{
    parts_->ticker.stop();
    parts_->monitor.assembler.shutdown();
    parts_->port.setOnReceive(nullptr);
}

StatusFields& LiveMonitor::fields() { return parts_->monitor.fields; }
SentenceLog& LiveMonitor::log() { return parts_->monitor.log; }
PortSelection& LiveMonitor::selection() { return parts_->selection; }
SerialComponent& LiveMonitor::port() { return parts_->port; }
SentenceAssembler& LiveMonitor::assembler() { return parts_->monitor.assembler; }
const PortChoices& LiveMonitor::choices() const { return parts_->choices; }

void LiveMonitor::selectFirstEntries()
{
    parts_->selection.port.select(0);
    parts_->selection.baud.select(0);
}

void LiveMonitor::readBytesOnly()
{
    parts_->bytesOnly = true;
    parts_->ticker.stop();
    parts_->monitor.assembler.shutdown();
}

void LiveMonitor::close()
{
    parts_->ticker.stop();
    if (parts_->port.isOpen()) parts_->port.setOpen(false);
    parts_->monitor.assembler.shutdown();
}

}  // namespace veltrane
