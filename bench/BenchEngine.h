#pragma once

#include "bus/BusEngine.h"
#include "core/ToolCore.h"
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
  explicit EngineOnPort(platform::PortIo& port)
      : core(port, desktop), state(core.busState), log(core.log), engine(core.engine) {
    state.BusDelay = 0.001;
    core.debuggerState.TraceBufferSize = 10;
    engine.OpenBus(0, 0);
    engine.InitPort(10);
  }
  NullDesktop desktop;
  core::ToolCore core;
  bus::BusState& state;
  debugger::DebugLog& log;
  bus::BusEngine& engine;
};

}  // namespace brelvion::bench
