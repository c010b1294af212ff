#pragma once

#include <memory>

#include "bus/BusEngine.h"
#include "bus/BusState.h"
#include "bus/StartBus.h"
#include "core/ProgramValues.h"
#include "debugger/DebugLog.h"
#include "debugger/DebuggerState.h"
#include "debugger/TraceHolder.h"
#include "platform/Desktop.h"
#include "platform/PortIo.h"

namespace brelvion::core {

// Everything program-wide in one place: the bus engine with its state, the debugger
// options and the values of the main window and the command files. Every program (the
// windows, the companion, the benchmark) and every test builds one of these on its port,
// desktop services and trace holder; nothing else holds program-wide state.
class ToolCore {
 public:
  // trace: where the log keeps the trace (the debugger window in the windowed program).
  ToolCore(platform::PortIo& port, platform::Desktop& desktop, debugger::TraceHolder& trace);
  // The trace is a plain text held here.
  ToolCore(platform::PortIo& port, platform::Desktop& desktop);

  ToolCore(const ToolCore&) = delete;
  ToolCore& operator=(const ToolCore&) = delete;

  // Re-opens the bus on ports.PortIndex (the port list's command).
  void StartBus() { bus::StartBus(engine, ports, debuggerState); }

  // True while a bus command runs; a command started from an event handled during one of
  // its yields must not drive the lines in the middle of it.
  bool busBusy() const { return busBusy_; }

  // Marks a bus command as running for its lifetime. Check busBusy() before making one.
  class BusCommand {
   public:
    explicit BusCommand(ToolCore& core) : core_(core) { core_.busBusy_ = true; }
    ~BusCommand() { core_.busBusy_ = false; }
    BusCommand(const BusCommand&) = delete;
    BusCommand& operator=(const BusCommand&) = delete;

   private:
    ToolCore& core_;
  };

  platform::PortIo& port;
  platform::Desktop& desktop;

 private:
  std::unique_ptr<debugger::PlainTraceHolder> ownTrace_;

 public:
  debugger::TraceHolder& trace;
  bus::BusState busState;
  debugger::DebuggerState debuggerState;
  // PortIndex and BusOpen.
  bus::PortSelection ports;
  ProgramValues values;
  debugger::DebugLog log;
  bus::BusEngine engine;

 private:
  bool busBusy_ = false;
};

}  // namespace brelvion::core
