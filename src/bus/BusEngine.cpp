#include "bus/BusEngine.h"

#include <algorithm>
#include <cmath>

#include "bus/BusMessages.h"
#include "port/LptRegisters.h"

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

void BusEngine::BitDelay(double d) {
  const std::int64_t passes = delayPasses(d);
  if (passes > 0) waitQuanta(passes);
}

void BusEngine::keepStepPasses() {
  stepDelay_ = state_.BusDelay;
  stepPasses_ = delayPasses(stepDelay_);
}

void chooseLptPort(BusState& state, std::int16_t index) {
  if (index < 0 || index >= static_cast<std::int16_t>(port::kLptBases.size())) return;
  const std::uint16_t base = port::kLptBases[static_cast<std::size_t>(index)];
  state.DataPort = base;
  state.StatusPort = static_cast<std::uint16_t>(base + 1);
  state.ControlPort = static_cast<std::uint16_t>(base + 2);
}

void BusEngine::InitPort(std::int16_t timeout) {
  // Each pulse lets a slave caught in the middle of a byte shift out one more bit, and
  // SDA rising while SCL is high ends whatever transfer it thought it was in.
  for (int pulse = 0; pulse < 6; ++pulse) {
    sdaLow();
    sclHigh();
    sdaHigh();
    sclLow();
  }
  state_.AckTimeout = timeout;
  sclHigh();
  log(kSysInitialised);
}

}  // namespace brelvion::bus
