#include "core/RegisterCommands.h"

namespace brelvion::core {

port::TransferResult writeByteRegister(ToolCore& core, std::uint8_t device,
                                       std::uint8_t subAddress, std::uint8_t data) {
  port::TransferResult result =
      bus::writeRegister(core.master(), device, bus::kByteRegisters, subAddress, data);
  core.master().endCommandIfTimedOut(result);
  return result;
}

bus::RegisterRead readByteRegisters(ToolCore& core, std::uint8_t device, std::uint8_t subAddress,
                                    std::size_t count, std::optional<std::size_t> bytesShown) {
  const port::AfterMessage pointerThen = core.busState().RepeatedStartReads
                                             ? port::AfterMessage::RepeatedStart
                                             : port::AfterMessage::Stop;
  bus::RegisterRead read = bus::readRegisters(core.master(), device, bus::kByteRegisters,
                                              subAddress, count, pointerThen, bytesShown);
  core.master().endCommandIfTimedOut(read.transfer);
  return read;
}

}  // namespace brelvion::core
