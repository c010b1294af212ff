#pragma once

#include "base/Clock.h"
#include "simulator/SimulatedParallelPort.h"

namespace brelvion::simulator {

// The simulated bus's own time as a clock, for what a script waits for on it: a sleep waits
// on `wait` (the system's clock, or a test's) and lets the same time pass on the bus, so
// that a simulated sensor's reset ends after a script's delay, and times are measured as
// the bus's slaves see them.
class SimulatedBusClock : public base::Clock {
 public:
  SimulatedBusClock(SimulatedParallelPort& port, base::Clock& wait) : port_(port), wait_(wait) {}

  std::chrono::nanoseconds now() override { return std::chrono::nanoseconds(port_.nowNs()); }
  void sleepFor(std::chrono::nanoseconds duration) override {
    wait_.sleepFor(duration);
    port_.passTime(duration.count());
  }

 private:
  SimulatedParallelPort& port_;
  base::Clock& wait_;
};

}  // namespace brelvion::simulator
