#pragma once

#include <memory>
#include <optional>

#include "bus/AdapterMaster.h"
#include "bus/BusEngine.h"
#include "bus/BusMaster.h"
#include "bus/LptCable.h"
#include "core/ProgramValues.h"
#include "core/StartBus.h"
#include "desktop/Desktop.h"
#include "port/BusAdapter.h"
#include "port/BitLines.h"
#include "port/PortIo.h"
#include "trace/DebugLog.h"
#include "trace/TraceHolder.h"

namespace brelvion::core {

// Everything program-wide in one place: the bus master in use and the one record of its
// messages, the log (with the debugger's options) and what Send File keeps.
// Every bus command goes to master(), the master in use: a bit-banging engine on lines (the
// parallel port's cable, GPIO lines, the simulated bus), or an adapter's; the trace and the
// record hear whichever it is. Every program (the windows, the companion, the benchmark)
// and every test builds one of these on its port, its bus lines or an adapter, with its
// desktop services and trace holder; nothing else holds program-wide state.
// The main window's fields live with the window, the register read option with whoever
// gives the commands.
class ToolCore {
 public:
  // On a parallel port, through the interface cable. trace: where the log keeps the trace
  // (the debugger window in the windowed program).
  ToolCore(port::PortIo& port, desktop::Desktop& desktop, trace::TraceHolder& trace);
  // The trace is a plain text held here.
  ToolCore(port::PortIo& port, desktop::Desktop& desktop);
  // On bus lines of their own (GPIO lines), which must outlive the core.
  ToolCore(port::BitLines& lines, desktop::Desktop& desktop, trace::TraceHolder& trace);
  ToolCore(port::BitLines& lines, desktop::Desktop& desktop);
  // On an adapter alone, with no port and no lines: it carries every command.
  ToolCore(std::unique_ptr<port::BusAdapter> adapter, desktop::Desktop& desktop);

  ToolCore(const ToolCore&) = delete;
  ToolCore& operator=(const ToolCore&) = delete;

  // The master every bus command goes to.
  bus::BusMaster& master();
  // The bit-banging master on the lines in use, or on those used last while an adapter
  // carries the bus (its line-level controls stay set meanwhile). A core on an adapter
  // alone has none until it is given lines: RuntimeError 5.
  bus::BusEngine& engine();
  bool hasLines() const { return engine_ != nullptr; }
  // The parallel port's cable, on a core built on a port; else nullptr.
  const bus::LptCable* cable() const { return cable_ ? &*cable_ : nullptr; }
  bus::TransactionRecord& record() { return record_; }
  trace::DebugLog& log() { return log_; }
  // portIndex and busOpen.
  PortSelection& ports() { return ports_; }
  const PortSelection& ports() const { return ports_; }
  ProgramValues& values() { return values_; }
  const ProgramValues& values() const { return values_; }
  // The adapter every bus command goes to instead of the lines, or nullptr.
  port::BusAdapter* adapter() { return adapter_ ? &adapter_->adapter() : nullptr; }
  // Hands the bus to adapter's master, or back to the lines (nullptr; a core without lines
  // refuses with RuntimeError 5 and keeps its adapter); the adapter used before is closed.
  void useAdapter(std::unique_ptr<port::BusAdapter> adapter);
  // Lines of their own every bus command steps instead of the parallel port's cable (GPIO
  // lines beside it), or nullptr for the cable, or the lines the core was built on.
  port::BitLines* lines() {
    return engine_ != nullptr && engine_ == otherEngine_.get() ? &engine_->lines() : nullptr;
  }
  // Hands the bus to an engine on lines (nullptr: back to the cable, or the lines the core
  // was built on), with the line settings of the engine used before. The lines stay the
  // caller's and must outlive their use. A program keeps its GPIO lines for its whole run,
  // so that their notice is said once and a capture follows them.
  void useLines(port::BitLines* lines);
  desktop::Desktop& desktop() { return desktop_; }
  trace::TraceHolder& trace() { return trace_; }

  // Re-opens the bus on ports().portIndex (the port list's command).
  void startBus() { core::startBus(master(), log_, ports_); }

  // True while a bus command runs; a command started from an event handled during one of
  // its yields must not drive the lines in the middle of it.
  bool busBusy() const { return busBusy_; }

  // Lets pending events run where the running command is between two complete
  // transactions (the sender, between two writes): nothing can interleave on the bus
  // there, so the user's other bus commands may run in it. Inside a transaction, where the
  // log yields, they stay refused.
  void yieldBetweenTransactions();

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

 private:
  ToolCore(port::PortIo* port, port::BitLines* lines, std::unique_ptr<port::BusAdapter> adapter,
           desktop::Desktop& desktop, trace::TraceHolder* trace);

  desktop::Desktop& desktop_;
  std::unique_ptr<trace::PlainTraceHolder> ownTrace_;
  trace::TraceHolder& trace_;
  PortSelection ports_;
  ProgramValues values_;
  trace::DebugLog log_;
  bus::TransactionRecord record_;
  // The cable on the parallel port, when the core has one.
  std::optional<bus::LptCable> cable_;
  // The engine on the cable or on the lines the core was built on; none on an adapter alone.
  std::unique_ptr<bus::BusEngine> builtEngine_;
  // The engine on lines of their own while they are in use (or were used last).
  std::unique_ptr<bus::BusEngine> otherEngine_;
  // One of the two: the bit-banging master in use, or used last.
  bus::BusEngine* engine_ = nullptr;
  // The adapter's master, in use while there is one.
  std::unique_ptr<bus::AdapterMaster> adapter_;
  bool busBusy_ = false;
};

}  // namespace brelvion::core
