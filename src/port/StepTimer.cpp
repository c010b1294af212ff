#include "port/StepTimer.h"

#include <time.h>

namespace brelvion::port {

StepTimer::Nanos monotonicNanos() {
  timespec ts{};
  clock_gettime(CLOCK_MONOTONIC, &ts);
  return static_cast<StepTimer::Nanos>(ts.tv_sec) * 1'000'000'000 + ts.tv_nsec;
}

}  // namespace brelvion::port
