#include "bus/LineControls.h"

#include <string>

#include "bus/BusEngine.h"
#include "bus/BusMessages.h"

namespace brelvion::bus {

namespace {

// Each step waits two passes at the tool's bus delay (bitDelay(0.001)), so a pass lasts
// half a step.
constexpr int kPassesPerStep = 2;

std::string pulsesText(int pulses) {
  return std::to_string(pulses) + (pulses == 1 ? " clock pulse" : " clock pulses");
}

}  // namespace

std::string recoveryText(const RecoveryResult& result, std::chrono::milliseconds stretchTimeout) {
  if (result.free) return "bus free after " + pulsesText(result.pulses);
  if (result.sclHeldLow) {
    return "bus still held: SCL low for more than " + std::to_string(stretchTimeout.count()) +
           " ms";
  }
  return "bus still held: SDA low after " + pulsesText(result.pulses);
}

void BusEngine::setStepTime(std::chrono::microseconds step) {
  if (step < kShortestStep || step > kLongestStep) {
    throw base::RuntimeError(base::RuntimeError::kInvalidCall, "BusEngine",
                             "The step time must be 5 to 1000 us, not " +
                                 std::to_string(step.count()));
  }
  quantum_ = std::chrono::nanoseconds(step) / kPassesPerStep;
  lines_.setQuantum(quantum_);
  stretchPasses_ = stretchPassesFor(stretchTimeout_, quantum_);
}

std::chrono::microseconds BusEngine::stepTime() const {
  return std::chrono::duration_cast<std::chrono::microseconds>(quantum_ * kPassesPerStep);
}

void BusEngine::setStretchTimeout(std::chrono::milliseconds timeout) {
  if (timeout < kShortestStretchTimeout || timeout > kLongestStretchTimeout) {
    throw base::RuntimeError(base::RuntimeError::kInvalidCall, "BusEngine",
                             "The stretch timeout must be 1 to 10000 ms, not " +
                                 std::to_string(timeout.count()));
  }
  stretchTimeout_ = timeout;
  stretchPasses_ = stretchPassesFor(timeout, quantum_);
}

// Passes of the step timer are counted from the SCL release, so this many of them last at
// least the timeout.
std::int64_t BusEngine::stretchPassesFor(std::chrono::milliseconds timeout,
                                         std::chrono::nanoseconds quantum) {
  const std::chrono::nanoseconds span = timeout;
  return (span.count() + quantum.count() - 1) / quantum.count();
}

bool BusEngine::sclRises() {
  if (!sclReadable_) return true;
  std::optional<bool> scl = lines_.scl();
  if (!scl) {
    sclReadable_ = false;
    return true;
  }
  for (std::int64_t waited = 0; !scl.value_or(true); ++waited) {
    if (waited >= stretchPasses_) return false;
    lines_.waitQuanta(1);
    scl = lines_.scl();
  }
  return true;
}

// SDA is let go too (SCL is already), so that the master holds nothing on a bus it gives up.
void BusEngine::clockHeldLow() {
  lines_.setSda(true);
  ackReceived_ = false;
  log(kErrClockHeld);
  throw ClockHeldLow(stretchTimeout_);
}

// Both lines are released already: the master holds nothing on the bus it leaves to a recovery.
void BusEngine::sdaHeldLow() {
  ackReceived_ = false;
  log(kErrSdaHeld);
  throw SdaHeldLow();
}

LineSettings BusEngine::settings() const {
  return {stepTime(), stretchTimeout_, senseSdaBeforeStart_, busDelay_, ackTimeout_};
}

void BusEngine::apply(const LineSettings& settings) {
  const std::chrono::milliseconds stretchBefore = stretchTimeout_;
  setStretchTimeout(settings.stretchTimeout);
  try {
    setStepTime(settings.stepTime);
  } catch (...) {
    setStretchTimeout(stretchBefore);
    throw;
  }
  senseSdaBeforeStart_ = settings.sdaCheckBeforeStart;
  busDelay_ = settings.busDelay;
  ackTimeout_ = settings.ackTimeout;
}

RecoveryResult BusEngine::recoverBus() {
  log(kMsgRecovery);
  RecoveryResult result;
  sdaHigh();
  lines_.setScl(true);
  bool sclUp = sclRises();
  stepDelay();
  while (sclUp && !sdaSensedHigh() && result.pulses < kRecoveryPulses) {
    sclLow();
    lines_.setScl(true);
    sclUp = sclRises();
    stepDelay();
    ++result.pulses;
  }
  if (!sclUp) {
    result.sclHeldLow = true;
    lines_.setSda(true);
    log(kErrClockHeld);
    return result;
  }
  sclLow();
  sendStop();
  result.free = sdaSensedHigh() && lines_.scl().value_or(true);
  logRecovery(result);
  return result;
}

void BusEngine::logRecovery(const RecoveryResult& result) {
  if (!trace_.tracing()) return;
  std::string message(result.free ? kSysBusFreePrefix : kErrStillHeldPrefix);
  message.append(pulsesText(result.pulses));
  trace_.logLine(message);
}

}  // namespace brelvion::bus
