#pragma once

#include <chrono>
#include <cstdint>
#include <string>

#include "base/RuntimeError.h"

namespace brelvion::bus {

// Standard mode: each line step at least 5 us, SCL high at least 4.0 us and low 4.7 us.
inline constexpr std::chrono::microseconds kStandardStep{5};
inline constexpr std::chrono::microseconds kShortestStep = kStandardStep;
inline constexpr std::chrono::microseconds kLongestStep{1000};

// How long a slave may hold SCL low after the master released it, where the lines can read
// SCL back: the SMBus clock-low timeout.
inline constexpr std::chrono::milliseconds kDefaultStretchTimeout{25};
inline constexpr std::chrono::milliseconds kShortestStretchTimeout{1};
inline constexpr std::chrono::milliseconds kLongestStretchTimeout{10000};

// Clock pulses a bus recovery gives at most: enough for a slave stopped anywhere in a byte
// to clock out what it has left and let go of SDA in the acknowledge slot.
inline constexpr int kRecoveryPulses = 9;

// What the user set for bit-banging, kept by the master on the lines in use and handed to the
// next one when the program changes lines, so that GPIO lines and the cable step alike.
struct LineSettings {
  // How long each line step lasts at least.
  std::chrono::microseconds stepTime = kStandardStep;
  // How long a slave may hold SCL low.
  std::chrono::milliseconds stretchTimeout = kDefaultStretchTimeout;
  // Whether each START first reads SDA with both lines released.
  bool sdaCheckBeforeStart = true;
  // The argument of bitDelay after every line step.
  double busDelay = 0;
  // Status reads an acknowledge wait makes before it gives up, as initPort set it.
  std::int16_t ackTimeout = 0;
};

struct RecoveryResult {
  // SDA high after the STOP, and SCL too where the lines can read it: the bus is idle.
  bool free = false;
  // Clock pulses given while SDA read low, 0 to kRecoveryPulses.
  int pulses = 0;
  // SCL stayed low beyond the stretch timeout: no clocking can free this bus.
  bool sclHeldLow = false;
};

// What a recovery found, as the companion prints it and the window's status line shows it:
// "bus free after 5 clock pulses", "bus still held: SDA low after 9 clock pulses", or
// "bus still held: SCL low for more than 25 ms" (the stretch timeout it ran with).
std::string recoveryText(const RecoveryResult& result, std::chrono::milliseconds stretchTimeout);

// A slave held SCL low longer than the stretch timeout: the command ends here.
class ClockHeldLow : public base::RuntimeError {
 public:
  explicit ClockHeldLow(std::chrono::milliseconds timeout)
      : base::RuntimeError(kDeviceTimeout, "BusEngine",
                           "SCL stayed low for more than " + std::to_string(timeout.count()) +
                               " ms after the master released it: a slave stretches the clock "
                               "longer than the stretch timeout allows, or something holds SCL "
                               "low. Allow the slave a longer stretch, or find what holds SCL "
                               "low") {}
};

// SDA read low with both lines released, just before a START: a slave stopped in a transfer,
// a short or a missing pull-up holds the data line, and every acknowledge would be read
// from it. The command ends here, before any START.
class SdaHeldLow : public base::RuntimeError {
 public:
  SdaHeldLow()
      : base::RuntimeError(kDeviceUnavailable, "BusEngine",
                           "SDA is held low with both lines released: something on the bus keeps "
                           "the data line down, so no START was sent and no acknowledge could be "
                           "told from it. Run recover (Bus > Recover Bus in the window) to free "
                           "the bus, then try again") {}
};

}  // namespace brelvion::bus
