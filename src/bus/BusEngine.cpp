#include "bus/BusEngine.h"

#include <algorithm>
#include <cmath>

#include "bus/BusMessages.h"

namespace brelvion::bus {

namespace {

// Far beyond any delay a user could mean; keeps the count inside an integer.
constexpr double kMaxDelayPasses = 1e15;

}  // namespace

std::int64_t BusEngine::delayPasses(double d) {
  // Passes 0 to 1000 * d inclusive, counted once before the first: two at the bus delay
  // of 0.001, one at 0, none below. A pass is one quantum of the port's own timing.
  const double end = 1000.0 * d;
  if (!(end >= 0)) return 0;
  return static_cast<std::int64_t>(std::min(std::floor(end) + 1, kMaxDelayPasses));
}

void BusEngine::bitDelay(double d) {
  const std::int64_t passes = delayPasses(d);
  if (passes > 0) lines_.waitQuanta(passes);
}

void BusEngine::stepDelay() {
  // Every step waits the bus delay, which hardly ever changes: its count is kept.
  if (busDelay_ != stepDelay_) {
    stepDelay_ = busDelay_;
    stepPasses_ = delayPasses(stepDelay_);
  }
  if (stepPasses_ > 0) lines_.waitQuanta(stepPasses_);
}

void BusEngine::initPort(std::int16_t timeout) {
  // Each pulse lets a slave caught in the middle of a byte shift out one more bit, and
  // SDA rising while SCL is high ends whatever transfer it thought it was in.
  for (int pulse = 0; pulse < 6; ++pulse) {
    sdaLow();
    sclHigh();
    sdaHigh();
    sclLow();
  }
  ackTimeout_ = timeout;
  sclHigh();
  log(kSysInitialised);
}

}  // namespace brelvion::bus
