#pragma once

#include "bus/BusEngine.h"
#include "core/ToolCore.h"
#include "desktop/Desktop.h"
#include "trace/DebugLog.h"

namespace brelvion::bench {

// Window-system services that cost nothing, so only the engine is timed.
class NullDesktop : public desktop::Desktop {
 public:
  desktop::MessageAnswer messageBox(const desktop::MessageBoxRequest&) override {
    return desktop::MessageAnswer::Ok;
  }
  void processPendingEvents() override {}
  void beep() override {}
};

// An engine on `port`, opened on LPT1 and cleared as the tool's start-up does.
struct EngineOnPort {
  explicit EngineOnPort(port::PortIo& port)
      : core(port, desktop), log(core.log()), engine(core.engine()) {
    engine.setBusDelay(0.001);
    core.log().debuggerState().traceBufferSize = 10;
    engine.openBus(0, 0);
    engine.initPort(10);
  }
  NullDesktop desktop;
  core::ToolCore core;
  trace::DebugLog& log;
  bus::BusEngine& engine;
};

}  // namespace brelvion::bench
