#pragma once

#include <chrono>
#include <cstdint>
#include <functional>
#include <vector>

#include "base/Clock.h"

namespace brelvion::testing {

// Time that moves only when the code sleeps, by what it asked for times `sleepScale`
// (below 1: a sleep that wakes early).
class FakeClock : public base::Clock {
 public:
  std::chrono::nanoseconds now() override { return time; }
  void sleepFor(std::chrono::nanoseconds duration) override {
    sleeps.push_back(duration);
    time += std::chrono::nanoseconds(
        static_cast<std::int64_t>(static_cast<double>(duration.count()) * sleepScale));
    if (onSleep) onSleep();
  }

  std::chrono::nanoseconds time{0};
  double sleepScale = 1.0;
  std::vector<std::chrono::nanoseconds> sleeps;
  std::function<void()> onSleep;
};

}  // namespace brelvion::testing
