#pragma once

namespace brelvion::trace {

// The debugger options that live outside its window. Values left unset count as they
// did before anything assigned them: no stop on error, and a trace bound of 0 units.
struct DebuggerState {
  bool StopOnError = false;
  // The trace bound in units of 50 characters; the trace-buffer dialog may set a fraction.
  double TraceBufferSize = 0;
};

}  // namespace brelvion::trace
