#pragma once

#include "bus/BusEngine.h"
#include "debugger/DebugLog.h"
#include "platform/Desktop.h"

namespace brelvion::bench {

// Window-system services that cost nothing, so only the engine is timed.
class NullDesktop : public platform::Desktop {
 public:
  platform::MessageAnswer messageBox(const platform::MessageBoxRequest&) override {
    return platform::MessageAnswer::Ok;
  }
  void processPendingEvents() override {}
  void beep() override {}
};

// An engine on `port`, opened on LPT1 and cleared as the tool's start-up does.
struct EngineOnPort {
  explicit EngineOnPort(platform::PortIo& port) : engine(state, port, log, desktop) {
    state.BusDelay = 0.001;
    debuggerState.TraceBufferSize = 10;
    engine.OpenBus(0, 0);
    engine.InitPort(10);
  }
  NullDesktop desktop;
  bus::BusState state;
  debugger::DebuggerState debuggerState;
  debugger::PlainTraceHolder trace;
  debugger::DebugLog log{state, debuggerState, trace, desktop};
  bus::BusEngine engine;
};

}  // namespace brelvion::bench
