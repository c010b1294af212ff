#pragma once

#include <chrono>
#include <cstdint>
#include <optional>
#include <string>

namespace brelvion::port {

// The two bus lines as a bit-banging master sees them, in the manner of the callbacks of
// the kernel's i2c-algo-bit: set SDA, set SCL, read SDA, read SCL where the hardware can,
// and the wait between steps. true releases a line to its pull-up (high); false pulls it
// low. A set changes the line at once; the wait is the caller's.
class BitLines {
 public:
  virtual ~BitLines() = default;

  virtual void setSda(bool released) = 0;
  virtual void setScl(bool released) = 0;
  // SDA as it is on the wire, whoever drives it.
  virtual bool sda() = 0;
  // SCL as it is on the wire (a slave may hold it low); nothing where the hardware has no
  // way to read it back.
  virtual std::optional<bool> scl() = 0;
  // The passes of one bitDelay, one quantum of the backend's step timing each.
  virtual void waitQuanta(std::int64_t passes) = 0;
  // The time one pass stands for from now on (kHardwareQuantum until changed): how the
  // step time is set, on the backend's own step timer.
  virtual void setQuantum(std::chrono::nanoseconds quantum) = 0;
  // What the lines are, as the trace names them when the bus is opened on them.
  virtual std::string name() const = 0;

  // Opening and closing the bus on the lines, as the master's openBus and closeBus do.
  // portIndex chooses among the ports lines may be on (the parallel port's cable); lines of
  // their own have nothing to choose or save, and are open from the start.
  virtual void openBus(std::int16_t portIndex) { (void)portIndex; }
  // Both lines let go, SCL first.
  virtual void closeBus() {
    setScl(true);
    setSda(true);
  }
  // Where the trace says the bus was opened, after "I2C bus opened on ".
  virtual std::string openedOn() const { return name(); }
};

}  // namespace brelvion::port
