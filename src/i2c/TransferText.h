#pragma once

#include <string>
#include <vector>

#include "i2c/I2cTransfer.h"

namespace brelvion::i2c {

// Bytes of a message a transfer's text shows before it cuts the rest to "..".
inline constexpr std::size_t kShownTransferBytes = 8;

// The messages of one transfer as a trace line and an error show them, joined by "Sr"
// (the repeated START between them): "W 42 00 Sr R 43 (2) 80 E7". A write is W, its 8-bit
// write address and its bytes; a read is R, its read address, its length in brackets and
// the bytes it received (none when results is empty or holds none for it). More than
// kShownTransferBytes bytes end in "..", a write's then with its length in brackets too.
std::string transferText(MessageSpan messages,
                         const std::vector<MessageResult>& results = {});

}  // namespace brelvion::i2c
