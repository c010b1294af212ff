#pragma once

#include <cstddef>
#include <deque>
#include <string>

#include "bus/TransactionRecord.h"

namespace brelvion::trace {

// How the transactions view and the companion's --transactions show addresses and
// registers: 8-bit addresses as they went out (42 for a write, 43 for a read) or 7-bit
// ones (21 for both); registers as the first 8 or 16 bits of a write.
struct TransactionView {
  bool sevenBit = false;
  unsigned registerBits = 8;
};

// The bytes a line shows; a longer message shows these and its length.
inline constexpr std::size_t kTransactionBytesShown = 16;

// One transaction, without a line end: the milliseconds since the record started, the
// address, W or R, the register (of a write: its first bytes; of a read: the register the
// write just before it to the same device set), the other bytes, and the outcome:
//   "     1.234 ms  42 W  reg 12  80  ACK"
//   "     1.560 ms  43 R  reg 12  80 E7  ACK"
// before is the entry just before this one, if any.
std::string transactionLine(const bus::Transaction& entry, const TransactionView& view,
                            const bus::Transaction* before = nullptr);

// Every entry's line, each ended by LF.
std::string transactionLines(const std::deque<bus::Transaction>& entries,
                             const TransactionView& view);

// "ACK", "NO ACK at address", "NO ACK at byte 2" (counted from 1 after the address),
// "NO ACK" (an adapter, which cannot say where), "TIMEOUT", "ARBITRATION LOST", "NOT SENT".
std::string transactionOutcomeText(const bus::Transaction& entry);

}  // namespace brelvion::trace
