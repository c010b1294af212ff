#pragma once

#include <chrono>
#include <cstddef>
#include <cstdint>
#include <deque>
#include <functional>
#include <optional>
#include <vector>

#include "base/Clock.h"
#include "i2c/RegisterFormat.h"
#include "i2c/I2cTransfer.h"

namespace brelvion::bus {

// What the command that sent a message says of it (NotedCommand), which the bytes on the
// bus do not: a bus with an 8-bit and a 16-bit sensor on it has both kinds of write.
struct CommandNote {
  // The register format of its writes and reads; none where no command said (a scan's
  // probe, a transfer of messages built by hand).
  std::optional<i2c::RegisterFormat> format;
  // Of a read, how many of its bytes the command showed the user; none: all of them.
  std::optional<std::size_t> bytesShown;

  bool operator==(const CommandNote&) const = default;
};

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
  i2c::MessageOutcome outcome = i2c::MessageOutcome::Acknowledged;
  // The first byte written that was not acknowledged, from 0 (DataNotAcknowledged).
  std::size_t nackedByte = 0;
  // Carried out by an adapter's driver, which says how a call ended but not where.
  bool adapter = false;
  CommandNote command;

  bool operator==(const Transaction&) const = default;
};

// The record of the transactions of the master in use, one entry a message, kept while the
// trace runs. It keeps the newest bound() entries, the oldest dropped first, whatever the trace
// keeps of its lines, so that a session can be saved whole. Its time runs on a clock
// handed to it (the system's unless a test gives its own).
class TransactionRecord {
 public:
  static constexpr std::size_t kDefaultBound = 10000;

  explicit TransactionRecord(base::Clock& clock = base::systemClock())
      : clock_(&clock), start_(clock.now()) {}

  // Time is counted from now on clock from here on.
  void restart(base::Clock& clock) {
    clock_ = &clock;
    start_ = clock.now();
  }
  std::chrono::nanoseconds sinceStart() const { return clock_->now() - start_; }

  // Keeps entry with the note of the command under way, then drops the oldest until at
  // most bound() are kept.
  void append(Transaction entry);
  void clear();
  const std::deque<Transaction>& entries() const { return entries_; }

  // How many entries are kept at most (at least 1); a smaller bound drops the oldest now.
  void setBound(std::size_t bound);
  std::size_t bound() const { return bound_; }
  // How many older entries were dropped for the bound since the record was last emptied.
  std::size_t dropped() const { return dropped_; }

  // What the command under way says of its messages (NotedCommand sets it).
  const CommandNote& commandNote() const { return note_; }

  // Called after each entry is kept, and after the record is emptied (with nothing).
  void setListener(std::function<void(const Transaction*)> listener) {
    listener_ = std::move(listener);
  }

  // Called by the master in use with each message as it ends, whether or not the trace
  // runs (the register map follows other commands' writes so); without one, the default,
  // messages cost nothing more. One listener at a time; an empty function removes it.
  void setMessageListener(std::function<void(const Transaction&)> listener) {
    messageListener_ = std::move(listener);
  }
  const std::function<void(const Transaction&)>& messageListener() const {
    return messageListener_;
  }

 private:
  friend class NotedCommand;
  void dropOldest();

  base::Clock* clock_;
  std::chrono::nanoseconds start_;
  std::deque<Transaction> entries_;
  std::size_t bound_ = kDefaultBound;
  std::size_t dropped_ = 0;
  CommandNote note_;
  std::function<void(const Transaction*)> listener_;
  std::function<void(const Transaction&)> messageListener_;
};

// While it lives, the messages put on the bus are the noted command's; the note before it
// holds again afterwards. Costs two copies of a small note: nothing is recorded unless the
// trace runs.
class NotedCommand {
 public:
  NotedCommand(TransactionRecord& record, const CommandNote& note)
      : record_(record), before_(record.note_) {
    record.note_ = note;
  }
  ~NotedCommand() { record_.note_ = before_; }
  NotedCommand(const NotedCommand&) = delete;
  NotedCommand& operator=(const NotedCommand&) = delete;

 private:
  TransactionRecord& record_;
  CommandNote before_;
};

// The note of the design's own register commands (writeRegister, readRegisters): one-byte
// registers and values.
inline constexpr CommandNote kByteRegisterCommand{i2c::kByteRegisters, std::nullopt};

}  // namespace brelvion::bus
