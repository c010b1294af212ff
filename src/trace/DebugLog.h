#pragma once

#include <functional>
#include <string>
#include <string_view>

#include "bus/BusTrace.h"
#include "desktop/Desktop.h"
#include "trace/DebuggerState.h"
#include "trace/TraceHolder.h"

namespace brelvion::trace {

inline constexpr std::size_t kTraceLineWidth = 50;
inline constexpr std::string_view kTraceLineBreak = "\r\n";
inline constexpr std::string_view kDebuggerDisabledMessage = "Wisp95 V1.01 : debugger  DISABLED ";
inline constexpr std::string_view kDebuggerEnabledMessage = "Wisp Debugger ENABLED ";
inline constexpr std::string_view kStopOnErrorTitle = "Wisp Bus Monitor";

// The one entry point through which bus steps and debugger commands reach the trace.
class DebugLog : public bus::BusTrace {
 public:
  DebugLog(TraceHolder& trace, desktop::Desktop& desktop) : trace_(trace), desktop_(desktop) {}

  // Appends message, padded to the line width, while the debugger is enabled; keeps the
  // trace within traceBufferSize and stops on "Wisp ERR" messages when asked to.
  void logMessage(std::string_view message);

  void debuggerOn();
  void debuggerOff();

  // Whether the debugger is enabled: off until the bus is first opened with it on.
  bool enabled() const { return enabled_; }
  // Without a trace line: opening the bus, the debugger window's run modes.
  void setEnabled(bool on) override { enabled_ = on; }

  // Stop on Error and the trace bound, which the debugger's options set and the log obeys.
  DebuggerState& debuggerState() { return state_; }
  const DebuggerState& debuggerState() const { return state_; }

  // What the bus engine reports. A missing acknowledge beeps while the debugger is disabled.
  bool tracing() const override { return enabled(); }
  void logLine(std::string_view message) override { logMessage(message); }
  void acknowledgeMissing(std::string_view message) override;

  // A bulk action of the windows (Read All, a refresh pass, Write Snapshot Back, a scan, a
  // script) for its lifetime: Stop on Error shows its box for the first error only, and
  // the action asks stopped() between its steps and ends there, so a silent device gives
  // one box rather than one a transaction.
  class BulkAction {
   public:
    explicit BulkAction(DebugLog& log);
    ~BulkAction();
    BulkAction(const BulkAction&) = delete;
    BulkAction& operator=(const BulkAction&) = delete;
    // True once Stop on Error has shown its box during the action.
    bool stopped() const { return log_.bulkStopped_; }

   private:
    DebugLog& log_;
  };

  // Called with each line the log accepts, padded as it went into the trace.
  void setLineListener(std::function<void(std::string_view)> listener) {
    listener_ = std::move(listener);
  }

 private:
  DebuggerState state_;
  TraceHolder& trace_;
  desktop::Desktop& desktop_;
  std::function<void(std::string_view)> listener_;
  bool enabled_ = false;
  // Bulk actions open (nested ones count), and whether one has stopped on an error.
  int bulkActions_ = 0;
  bool bulkStopped_ = false;
};

// message padded with blanks on the right to the trace line width; longer ones stay whole.
std::string padTraceLine(std::string_view message);

}  // namespace brelvion::trace
