#include "core/StartBus.h"

namespace brelvion::core {

void StartBus(bus::BusMaster& master, trace::DebugLog& log, PortSelection& selection) {
  if (selection.BusOpen == 1) {
    master.CloseBus();
    selection.BusOpen = 0;
  }
  master.OpenBus(selection.PortIndex, 1);
  master.InitPort(kAckTimeout);
  log.DebuggerOff();
  log.debuggerState().StopOnError = false;
  log.debuggerState().TraceBufferSize = 10;
  selection.BusOpen = 1;
}

}  // namespace brelvion::core
