#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

#include "base/RuntimeError.h"
#include "bus/BusEngine.h"
#include "bus/BusMaster.h"
#include "bus/RegisterAccess.h"
#include "core/ToolCore.h"

namespace brelvion::testing {

// The four register transactions of the tool's first design as the recorded sequences and
// the masters' tests drive them, each made of the register functions' messages and sent as
// one transfer on master, as the front ends send theirs (without a command's note). As the
// design had them, the caller's address changes in place, a negative count is refused
// before the bus is touched, and a read's bytes stay in ReadBuffer (none that an adapter
// did not return). repeatedStartReads is the program's option for register reads.
class DesignTransactions {
 public:
  explicit DesignTransactions(bus::BusMaster& master) : master_(master) {}

  void writeRegister(std::int16_t& address, std::int16_t subAddress, std::int16_t data) {
    address = static_cast<std::int16_t>(address & 0xFE);
    run(bus::registerWriteMessages(byte(address), i2c::kByteRegisters, byte(subAddress),
                                   byte(data)));
  }
  void setRegisterPointer(std::int16_t& address, std::int16_t subAddress) {
    address = static_cast<std::int16_t>(address & 0xFE);
    run({{byte(address), false, {byte(subAddress)}}});
  }
  void readSequential(std::int16_t& address, std::int16_t count) {
    const std::size_t length = lengthOf(count, "ReadSequential");
    address = static_cast<std::int16_t>(address | 1);
    keep(run({{byte(address), true, {}, length}}));
  }
  // With repeatedStartReads, a repeated START between the pointer write and
  // the read. True when both were acknowledged.
  bool readRegisters(std::int16_t& address, std::int16_t subAddress, std::int16_t count) {
    const std::size_t length = lengthOf(count, "ReadRegisters");
    const std::uint8_t device = byte(address);
    address = static_cast<std::int16_t>(address | 1);
    const i2c::AfterMessage pointerThen = repeatedStartReads
                                               ? i2c::AfterMessage::RepeatedStart
                                               : i2c::AfterMessage::Stop;
    const i2c::TransferResult result = run(bus::registerReadMessages(
        device, i2c::kByteRegisters, byte(subAddress), length, pointerThen));
    keep(result);
    return result.acknowledged();
  }

  std::vector<std::int16_t> ReadBuffer;
  bool repeatedStartReads = false;

 private:
  static std::uint8_t byte(std::int16_t value) { return static_cast<std::uint8_t>(value); }
  static std::size_t lengthOf(std::int16_t count, const char* source) {
    if (count < 0) throw base::RuntimeError(base::RuntimeError::kInvalidCall, source);
    return static_cast<std::size_t>(count) + 1;
  }
  i2c::TransferResult run(i2c::MessageSpan messages) {
    i2c::TransferResult result = master_.transfer(messages);
    master_.endCommandIfTimedOut(result);
    return result;
  }
  void keep(const i2c::TransferResult& result) {
    const std::vector<std::uint8_t>& bytes = result.messages.back().bytes;
    ReadBuffer.assign(bytes.begin(), bytes.end());
  }

  bus::BusMaster& master_;
};

// The transactions on engine, register reads joined by a STOP and a START.
inline DesignTransactions design(bus::BusEngine& engine) { return DesignTransactions(engine); }
// The same on core's engine.
inline DesignTransactions design(core::ToolCore& core) { return DesignTransactions(core.engine()); }

}  // namespace brelvion::testing
