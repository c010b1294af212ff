#pragma once

#include <chrono>
#include <cstdint>

namespace brelvion::port {

// Time one bitDelay pass stands for on real hardware. The engine waits two passes after
// each line step, so a step lasts 5 us: SCL high at least 4.0 us and low at least 4.7 us,
// I2C standard mode with little to spare.
inline constexpr std::chrono::nanoseconds kHardwareQuantum{2500};

// Deadlines of bitDelay passes, measured from the latest port write rather than from
// the end of the previous pass, so the time spent between passes is not added on top.
class StepTimer {
 public:
  using Nanos = std::int64_t;

  explicit StepTimer(std::chrono::nanoseconds quantum) : quantum_(quantum.count()) {}

  Nanos quantum() const { return quantum_; }
  void setQuantum(std::chrono::nanoseconds quantum) { quantum_ = quantum.count(); }

  void markWrite(Nanos writeTime) {
    anchor_ = writeTime;
    passes_ = 0;
  }

  // The time the next `passes` passes must last until.
  Nanos deadlineAfter(Nanos passes) {
    passes_ += passes;
    return anchor_ + passes_ * quantum_;
  }

 private:
  Nanos quantum_;
  Nanos anchor_ = 0;
  Nanos passes_ = 0;
};

// Monotonic clock in nanoseconds, for the hardware backends and their captures.
StepTimer::Nanos monotonicNanos();

}  // namespace brelvion::port
