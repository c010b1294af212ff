#pragma once

#include <chrono>

namespace brelvion::base {

// Time for pauses the user asks for. Monotonic: a pause measured on it ends even when the
// wall clock jumps or passes midnight. Tests hand the code a fake one, so they never wait.
class Clock {
 public:
  virtual ~Clock() = default;

  // Time since some fixed point; only differences mean anything.
  virtual std::chrono::nanoseconds now() = 0;
  // Blocks the calling thread for about duration; no window event runs meanwhile.
  virtual void sleepFor(std::chrono::nanoseconds duration) = 0;
};

// The process's monotonic clock, sleeping with the system's sleep.
Clock& systemClock();

}  // namespace brelvion::base
