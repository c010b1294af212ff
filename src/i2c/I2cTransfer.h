#pragma once

#include <cstddef>
#include <cstdint>
#include <initializer_list>
#include <span>
#include <vector>

namespace brelvion::i2c {

// What comes after a message: a STOP, or a repeated START into the next message.
enum class AfterMessage { Stop, RepeatedStart };

// One message of a transfer. The address is the tool's 8-bit form (42 for the 7-bit 21h);
// its bit 0 is ignored and set from `read`.
struct I2cMessage {
  std::uint8_t address = 0;
  bool read = false;
  // The bytes a write sends.
  std::vector<std::uint8_t> bytes;
  // How many bytes a read takes.
  std::size_t readLength = 0;
  AfterMessage after = AfterMessage::Stop;
};

// The messages of one transfer, wherever the caller keeps them: a vector, an array, the
// register commands' fixed storage (bus::RegisterMessages), or a braced list written in the
// call, which lives until the call returns. A parameter only: it holds none of them.
class MessageSpan : public std::span<const I2cMessage> {
 public:
  using std::span<const I2cMessage>::span;
  MessageSpan(std::initializer_list<I2cMessage> messages)
      : std::span<const I2cMessage>(messages.begin(), messages.size()) {}
};

// What is known of one message after the transfer, and only that: an adapter that reports
// one outcome for a whole transfer says NotAcknowledged, never at which byte.
enum class MessageOutcome {
  Acknowledged,
  AddressNotAcknowledged,
  // A byte after the address was not acknowledged (nackedByte says which, from 0).
  DataNotAcknowledged,
  // The transfer was not acknowledged somewhere in this message.
  NotAcknowledged,
  // A slave held the clock low too long, or the adapter gave up waiting.
  TimedOut,
  ArbitrationLost,
  // An earlier message ended the transfer before this one went out.
  NotSent,
};

struct MessageResult {
  MessageOutcome outcome = MessageOutcome::NotSent;
  std::size_t nackedByte = 0;
  // The bytes a read received.
  std::vector<std::uint8_t> bytes;
};

struct TransferResult {
  std::vector<MessageResult> messages;

  bool acknowledged() const {
    for (const MessageResult& message : messages) {
      if (message.outcome != MessageOutcome::Acknowledged) return false;
    }
    return !messages.empty();
  }
  // Whether the last message was acknowledged in full: what the acknowledge indicator shows
  // of a register command (of a read, the read's address byte).
  bool lastAcknowledged() const {
    return !messages.empty() && messages.back().outcome == MessageOutcome::Acknowledged;
  }
};

// A bus master at the level of whole transfers: the bit-banging engine, a Linux i2c-dev
// adapter. A port that fails (a device gone) throws base::RuntimeError; a transfer the
// bus refused (no acknowledge, a timeout) is a result, not an error.
class I2cMaster {
 public:
  virtual ~I2cMaster() = default;
  virtual TransferResult transfer(MessageSpan messages) = 0;
};

}  // namespace brelvion::i2c
