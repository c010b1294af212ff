#pragma once

namespace brelvion::trace {

// The debugger options that live outside its window. Values left unset count as they
// did before anything assigned them: no stop on error, and a trace bound of 0 units.
struct DebuggerState {
  bool stopOnError = false;
  // The trace bound in units of 50 characters; the trace-buffer dialog may set a fraction.
  double traceBufferSize = 0;
};

}  // namespace brelvion::trace
