#pragma once

#include "trace/TraceHolder.h"

namespace brelvion::trace {

// The debugger window as the rest of the program sees it: the trace holder the log writes
// into, which the main window's "Wisp Monitor" button shows (creating it when needed).
class MonitorWindow : public TraceHolder {
 public:
  // Shows the window, not modal, creating it first if it does not exist.
  virtual void showWindow() = 0;
};

}  // namespace brelvion::trace
