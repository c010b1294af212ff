#pragma once

#include <cstdint>
#include <vector>

#include "scripts/Script.h"

namespace brelvion::scripts {

// What a command file's (.i2c) groups of three values stand for, the one meaning the
// sender runs and the converter reads.

// The fixed pause after every write, before the user's delay.
inline constexpr std::uint32_t kPauseAfterWriteMs = 100;
inline constexpr double kPauseAfterWrite = kPauseAfterWriteMs / 1000.0;

// The write of a group: data into register reg of device, with 8-bit registers and values.
// The write goes to the address with bit 0 cleared, whatever the file says.
Step commandFileWrite(std::uint8_t device, std::uint8_t reg, std::uint8_t data);

// Appends the steps the sender runs for write: the write, the fixed pause, a pause of
// delay seconds (the user's), and the yield that ends the group.
void appendSentWrite(std::vector<Step>& steps, const Step& write, double delay);

}  // namespace brelvion::scripts
