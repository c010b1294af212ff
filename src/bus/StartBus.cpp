#include "bus/StartBus.h"

namespace brelvion::bus {

void StartBus(BusEngine& engine, PortSelection& selection, debugger::DebuggerState& debugger) {
  if (selection.BusOpen == 1) {
    engine.CloseBus();
    selection.BusOpen = 0;
  }
  engine.OpenBus(selection.PortIndex, 1);
  engine.InitPort(kAckTimeout);
  engine.log().DebuggerOff();
  debugger.StopOnError = false;
  debugger.TraceBufferSize = 10;
  selection.BusOpen = 1;
}

}  // namespace brelvion::bus
