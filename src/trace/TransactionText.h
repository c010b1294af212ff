#pragma once

#include <cstddef>
#include <deque>
#include <string>

#include "bus/TransactionRecord.h"

namespace brelvion::trace {

// How the transactions view and the companion's --transactions show addresses and
// registers: a device's 8-bit write address (42 for its writes and reads) or its 7-bit one
// (21); registers as the command that sent each transaction addressed them, or where it
// did not say, as the first 1 or 2 bytes of a write.
struct TransactionView {
  bool sevenBit = false;
  int addressBytes = 1;
};

// The bytes a line shows; a longer message shows these and its length.
inline constexpr std::size_t kTransactionBytesShown = 16;

// One transaction, without a line end: the milliseconds since the record started, the
// address, W or R, the register (of a write: its first bytes; of a read: the register the
// write just before it to the same device set), the other bytes, and the outcome:
//   "     1.234 ms  42 W  reg 12  80  ACK"
//   "     1.560 ms  42 R  reg 12  80 E7  ACK"
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
