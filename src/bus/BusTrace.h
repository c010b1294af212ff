#pragma once

#include <string_view>

namespace brelvion::bus {

// Whoever watches the engine at work, in the manner of the kernel's bit-banging algorithm
// talking to its adapter through a few callbacks: the engine never knows what becomes of
// a line. The debug log implements it.
class BusTrace {
 public:
  virtual ~BusTrace() = default;

  // True while the debugger is enabled; the engine builds no message otherwise.
  virtual bool tracing() const = 0;
  // Enables or disables the debugger without a trace line, as opening the bus does.
  virtual void setEnabled(bool on) = 0;
  // One step of the bus, as its trace line.
  virtual void logLine(std::string_view message) = 0;
  // An acknowledge wait timed out; message is the line it earns while tracing.
  virtual void acknowledgeMissing(std::string_view message) = 0;
};

}  // namespace brelvion::bus
