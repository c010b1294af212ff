#include "core/RegisterCommands.h"

namespace brelvion::core {

i2c::TransferResult writeByteRegister(bus::BusMaster& master, std::uint8_t device,
                                       std::uint8_t subAddress, std::uint8_t data) {
  i2c::TransferResult result =
      bus::writeRegister(master, device, i2c::kByteRegisters, subAddress, data);
  master.endCommandIfTimedOut(result);
  return result;
}

bus::RegisterRead readByteRegisters(bus::BusMaster& master, i2c::AfterMessage pointerThen,
                                    std::uint8_t device, std::uint8_t subAddress,
                                    std::size_t count, std::optional<std::size_t> bytesShown) {
  bus::RegisterRead read = bus::readRegisters(master, device, i2c::kByteRegisters, subAddress,
                                              count, pointerThen, bytesShown);
  master.endCommandIfTimedOut(read.transfer);
  return read;
}

}  // namespace brelvion::core
