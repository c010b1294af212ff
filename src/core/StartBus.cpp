#include "core/StartBus.h"

namespace brelvion::core {

void StartBus(bus::BusEngine& engine, trace::DebugLog& log, PortSelection& selection,
              trace::DebuggerState& debugger) {
  if (selection.BusOpen == 1) {
    engine.CloseBus();
    selection.BusOpen = 0;
  }
  engine.OpenBus(selection.PortIndex, 1);
  engine.InitPort(kAckTimeout);
  log.DebuggerOff();
  debugger.StopOnError = false;
  debugger.TraceBufferSize = 10;
  selection.BusOpen = 1;
}

}  // namespace brelvion::core
