#include "core/StartBus.h"

namespace brelvion::core {

void startBus(bus::BusMaster& master, trace::DebugLog& log, PortSelection& selection) {
  if (selection.busOpen == 1) {
    master.closeBus();
    selection.busOpen = 0;
  }
  master.openBus(selection.portIndex, 1);
  master.initPort(kAckTimeout);
  log.debuggerOff();
  log.debuggerState().stopOnError = false;
  log.debuggerState().traceBufferSize = 10;
  selection.busOpen = 1;
}

}  // namespace brelvion::core
