#pragma once

#include <cstddef>
#include <string>
#include <string_view>

#include "i2c/I2cTransfer.h"

namespace brelvion::i2c {

// The words every trace, view and report uses for an acknowledge and its absence.
inline constexpr const char kAckText[] = "ACK";
inline constexpr const char kNoAckText[] = "NO ACK";

// A message's outcome where the place of a missed acknowledge is not told (an adapter's
// trace line, a script's report): "ACK", "NO ACK" (every missed acknowledge, and a message
// never sent), "TIMEOUT" or "ARBITRATION LOST".
std::string_view outcomeWord(MessageOutcome outcome);

// The same, saying where an acknowledge was missed: "NO ACK at address", "NO ACK at byte 2"
// (nackedByte counts from 0 after the address, the text from 1), "NO ACK" where that is not
// known; and "NOT SENT" for a message an earlier one kept off the bus.
std::string outcomeText(MessageOutcome outcome, std::size_t nackedByte);

}  // namespace brelvion::i2c
