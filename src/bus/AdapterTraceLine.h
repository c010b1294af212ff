#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "port/BusAdapter.h"

namespace brelvion::bus {

// The trace line of one driver call of an adapter: the adapter, the transfer's text
// (port/TransferText.h) and its outcome, e.g.
//   "Wisp MSG007:  i2c-3 W 42 00 Sr R 43 (2) 80 E7 ACK"
//   "Wisp MSG008:  i2c-3 SMBus W 42 12 80 NO ACK"
// MSG007 for plain I2C messages, MSG008 with "SMBus" for an SMBus call. The outcome is
// ACK, NO ACK, TIMEOUT or ARBITRATION LOST.
std::string adapterTransferLine(std::string_view adapter, const port::AdapterTransfer& done);

// The first outcome of a call that is not an acknowledge; nothing when all were.
std::optional<i2c::MessageOutcome> refusalOf(const port::AdapterTransfer& done);

// The error line a refused call earns: ERR003 not acknowledged, ERR004 bus timeout,
// ERR005 arbitration lost.
std::string_view refusalErrorLine(i2c::MessageOutcome outcome);

}  // namespace brelvion::bus
