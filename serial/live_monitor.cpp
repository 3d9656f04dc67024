#include "live_monitor.h"

#include <chrono>
#include <cstdio>

#include "comm_map.h"
#include "qt_event_loop.h"
#include "qt_serial_port.h"

namespace veltrane {

namespace {
constexpr std::chrono::milliseconds kTickInterval{100};
}

struct LiveMonitor::Parts {
    explicit Parts(const Clock& clock)
        : monitor(clock, pump),
          objComm(CommMap::fromEnvironment()),
          gpsPort(monitor.fields, monitor.log, objComm, selection),
          tmrGraph(kTickInterval, [this] { monitor.assembler.tmrGraph_Timer(); })
    {
        objComm.setOnComm([this] { monitor.ring.objComm_OnComm(objComm); });
    }

    QtEventPump pump;
    Monitor monitor;
    PortSelection selection;
    QtSerialPort objComm;
    GpsPort gpsPort;
    TickDriver tmrGraph;
};

LiveMonitor::LiveMonitor(const Clock& clock) : parts_(std::make_unique<Parts>(clock))
{
    for (const std::string& problem : parts_->objComm.commMap().problems())
        std::fprintf(stderr, "veltrane: %s\n", problem.c_str());
    parts_->tmrGraph.start();
}

LiveMonitor::~LiveMonitor()
{
    parts_->tmrGraph.stop();
    parts_->monitor.assembler.shutdown();
    parts_->objComm.setOnComm(nullptr);
}

StatusFields& LiveMonitor::fields() { return parts_->monitor.fields; }
SentenceLog& LiveMonitor::log() { return parts_->monitor.log; }
PortSelection& LiveMonitor::selection() { return parts_->selection; }
SerialComponent& LiveMonitor::objComm() { return parts_->objComm; }
SentenceAssembler& LiveMonitor::assembler() { return parts_->monitor.assembler; }

void LiveMonitor::selectFirstEntries()
{
    parts_->selection.cboCommPort.select(0);
    parts_->selection.cboBaud.select(0);
}

void LiveMonitor::close()
{
    parts_->tmrGraph.stop();
    if (parts_->objComm.PortOpen()) parts_->objComm.setPortOpen(false);
    parts_->monitor.assembler.shutdown();
}

}  // namespace veltrane
