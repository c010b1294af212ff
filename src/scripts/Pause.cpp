#include "scripts/Pause.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace brelvion::scripts {

namespace {

// The longest single sleep, so that a huge pause never overflows a duration.
constexpr std::chrono::nanoseconds kLongestSleep = std::chrono::hours(1);

}  // namespace

PauseEnd pauseFor(base::Clock& clock, double seconds, const std::function<bool()>& between) {
  using Seconds = std::chrono::duration<double>;
  if (!std::isfinite(seconds) || std::fabs(seconds) > std::numeric_limits<float>::max()) {
    return PauseEnd::NotANumber;
  }
  const float requested = static_cast<float>(seconds);
  const auto start = clock.now();
  const std::chrono::nanoseconds longest = between ? kPauseSlice : kLongestSleep;
  for (;;) {
    const float elapsed = static_cast<float>(Seconds(clock.now() - start).count());
    if (!(requested > elapsed)) return PauseEnd::Waited;
    const auto left = std::chrono::duration_cast<std::chrono::nanoseconds>(
        Seconds(static_cast<double>(requested) - static_cast<double>(elapsed)));
    clock.sleepFor(std::max(std::min(left, longest), std::chrono::nanoseconds(1)));
    if (between && !between()) return PauseEnd::Stopped;
  }
}

}  // namespace brelvion::scripts
