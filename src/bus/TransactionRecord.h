#pragma once

#include <chrono>
#include <cstddef>
#include <cstdint>
#include <deque>
#include <functional>
#include <vector>

#include "base/Clock.h"
#include "port/I2cTransfer.h"

namespace brelvion::bus {

// One message as the engine put it on the bus: what the step trace does not carry.
struct Transaction {
  // Since the record started: on the lines at the message's START, on an adapter when its
  // driver call returned.
  std::chrono::nanoseconds time{0};
  // The address byte as it went out: the 8-bit address, bit 0 set for a read.
  std::uint8_t address = 0;
  bool read = false;
  // The bytes written, or the bytes read.
  std::vector<std::uint8_t> bytes;
  port::MessageOutcome outcome = port::MessageOutcome::Acknowledged;
  // The first byte written that was not acknowledged, from 0 (DataNotAcknowledged).
  std::size_t nackedByte = 0;
  // Carried out by an adapter's driver, which says how a call ended but not where.
  bool adapter = false;

  bool operator==(const Transaction&) const = default;
};

// The engine's own record of its transactions, one entry a message, kept while the trace
// runs and bounded as the trace is (BusTrace::transactionBound), the oldest dropped first.
// Its time runs on a clock handed to it (the system's unless a test gives its own).
class TransactionRecord {
 public:
  explicit TransactionRecord(base::Clock& clock = base::systemClock())
      : clock_(&clock), start_(clock.now()) {}

  // Time is counted from now on clock from here on.
  void restart(base::Clock& clock) {
    clock_ = &clock;
    start_ = clock.now();
  }
  std::chrono::nanoseconds sinceStart() const { return clock_->now() - start_; }

  // Keeps entry, then drops the oldest until at most bound are kept (at least the newest).
  void append(Transaction entry, std::size_t bound);
  void clear();
  const std::deque<Transaction>& entries() const { return entries_; }

  // Called after each entry is kept, and after the record is emptied (with nothing).
  void setListener(std::function<void(const Transaction*)> listener) {
    listener_ = std::move(listener);
  }

 private:
  base::Clock* clock_;
  std::chrono::nanoseconds start_;
  std::deque<Transaction> entries_;
  std::function<void(const Transaction*)> listener_;
};

}  // namespace brelvion::bus
