#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <utility>
#include <vector>

#include "i2c/RegisterFormat.h"
#include "i2c/I2cTransfer.h"

namespace brelvion::bus {

// Register transactions of any format as transfers, so that they run on every bus master
// (the bit-banging engine, an i2c-dev adapter) and show in its trace and captures. In the
// design's format they put on the wire exactly what writeRegister, setRegisterPointer and
// readSequential do. Every function refuses (RuntimeError 5) a format, register or value
// that does not fit before a message is built.

// The messages of one register transaction: a write, or a pointer write and a read. They
// stay in place rather than on the heap, as every register command builds them, and go to
// a transfer as they are (a i2c::MessageSpan).
class RegisterMessages {
 public:
  // At most two.
  void add(i2c::I2cMessage message) { messages_.at(count_++) = std::move(message); }
  const i2c::I2cMessage* begin() const { return messages_.data(); }
  const i2c::I2cMessage* end() const { return messages_.data() + count_; }
  std::size_t size() const { return count_; }
  const i2c::I2cMessage& operator[](std::size_t index) const { return messages_[index]; }

 private:
  std::array<i2c::I2cMessage, 2> messages_{};
  std::size_t count_ = 0;
};

// One write: the register address bytes, then the value's bytes, then a STOP.
RegisterMessages registerWriteMessages(std::uint8_t device, const i2c::RegisterFormat& format,
                                       std::uint32_t registerAddress, std::uint32_t value);

// A write of the register address bytes, then one read of byteCount bytes. pointerThen
// says what comes between them: a STOP (the design's setRegisterPointer, then
// readSequential) or a repeated START. A format without a register address reads alone.
RegisterMessages registerReadMessages(std::uint8_t device, const i2c::RegisterFormat& format,
                                      std::uint32_t registerAddress, std::size_t byteCount,
                                      i2c::AfterMessage pointerThen = i2c::AfterMessage::Stop);

// A transfer of messages built in format (registerWriteMessages, registerReadMessages): on
// the program's masters (BusMaster) the record notes each message with the format, so that
// the transactions view and a script saved from it read the register as this command wrote
// it. bytesShown: of a read, how many of its bytes the command shows the user.
i2c::TransferResult transferInFormat(i2c::I2cMaster& master, const i2c::RegisterFormat& format,
                                      i2c::MessageSpan messages,
                                      std::optional<std::size_t> bytesShown = std::nullopt);

struct RegisterRead {
  i2c::TransferResult transfer;
  // The bytes the read message received, in wire order.
  std::vector<std::uint8_t> bytes;
  // bytes as values of the format's width.
  std::vector<std::uint32_t> values;

  bool acknowledged() const { return transfer.acknowledged(); }
};

// Writes one register.
i2c::TransferResult writeRegister(i2c::I2cMaster& master, std::uint8_t device,
                                   const i2c::RegisterFormat& format, std::uint32_t registerAddress,
                                   std::uint32_t value);

// Reads count registers of the format's width from registerAddress on, in one sequential
// read. count must be at least 1. bytesShown as for transferInFormat.
RegisterRead readRegisters(i2c::I2cMaster& master, std::uint8_t device,
                           const i2c::RegisterFormat& format, std::uint32_t registerAddress,
                           std::size_t count,
                           i2c::AfterMessage pointerThen = i2c::AfterMessage::Stop,
                           std::optional<std::size_t> bytesShown = std::nullopt);

// The values in bytes, each of the format's width; bytes left over make no value.
std::vector<std::uint32_t> valuesOf(const std::vector<std::uint8_t>& bytes,
                                    const i2c::RegisterFormat& format);

}  // namespace brelvion::bus
