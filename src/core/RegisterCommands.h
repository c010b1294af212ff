#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>

#include "bus/BusMaster.h"
#include "bus/RegisterAccess.h"

namespace brelvion::core {

// The tool's own register commands (Send Register, Send File, dump, the companion's write
// and read) on the master in use: one-byte registers and values, as transfers through
// bus::writeRegister and bus::readRegisters. On lines, a slave holding SCL beyond the
// stretch timeout ends the command (ClockHeldLow) as it always did; every other refusal is
// in the result. device is the 8-bit address; its bit 0 is set from the message.

// How a register read joins its pointer write and its read under the program's option
// (Bus > Repeated START, the companion's --repeated-start): a repeated START between them,
// else a STOP and a START.
inline i2c::AfterMessage readPointerThen(bool repeatedStartReads) {
  return repeatedStartReads ? i2c::AfterMessage::RepeatedStart : i2c::AfterMessage::Stop;
}

// Writes data into register subAddress: the register address, then the value, then a STOP.
i2c::TransferResult writeByteRegister(bus::BusMaster& master, std::uint8_t device,
                                       std::uint8_t subAddress, std::uint8_t data);

// Reads count bytes from register subAddress on: the pointer write, then one sequential read,
// pointerThen between them (readPointerThen). bytesShown: how many of them the command shows
// the user (the record's note), all unless given.
bus::RegisterRead readByteRegisters(bus::BusMaster& master, i2c::AfterMessage pointerThen,
                                    std::uint8_t device, std::uint8_t subAddress,
                                    std::size_t count,
                                    std::optional<std::size_t> bytesShown = std::nullopt);

// The master in use, as the tool's register commands see it: a transfer that timed out
// where master counts that as a fault of the bus ends the command with its error, as
// writeByteRegister does. For the writes of a command file run as steps.
class CommandMaster final : public i2c::I2cMaster {
 public:
  explicit CommandMaster(bus::BusMaster& master) : master_(master) {}
  i2c::TransferResult transfer(i2c::MessageSpan messages) override {
    i2c::TransferResult result = master_.transfer(messages);
    master_.endCommandIfTimedOut(result);
    return result;
  }

 private:
  bus::BusMaster& master_;
};

}  // namespace brelvion::core
