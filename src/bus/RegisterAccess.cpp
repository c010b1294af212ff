#include "bus/RegisterAccess.h"

#include <span>

#include "base/RuntimeError.h"
#include "bus/BusEngine.h"
#include "bus/BusMaster.h"
#include "i2c/DeviceAddress.h"

namespace brelvion::bus {

namespace {

// The longest register address and value.
constexpr std::size_t kLongestAddress = 2;
constexpr std::size_t kLongestValue = 4;

}  // namespace

RegisterMessages registerWriteMessages(std::uint8_t device, const i2c::RegisterFormat& format,
                                       std::uint32_t registerAddress, std::uint32_t value) {
  i2c::I2cMessage write;
  write.address = i2c::DeviceAddress::fromByte(device).writeByte();
  write.bytes.reserve(kLongestAddress + kLongestValue);
  appendRegisterAddress(write.bytes, format, registerAddress);
  appendValue(write.bytes, value, format.valueBytes, format.order);
  RegisterMessages messages;
  messages.add(std::move(write));
  return messages;
}

RegisterMessages registerReadMessages(std::uint8_t device, const i2c::RegisterFormat& format,
                                      std::uint32_t registerAddress, std::size_t byteCount,
                                      i2c::AfterMessage pointerThen) {
  if (byteCount == 0) {
    throw base::RuntimeError(base::RuntimeError::kInvalidCall, "RegisterRead",
                             "A register read takes at least one byte");
  }
  RegisterMessages messages;
  std::vector<std::uint8_t> pointer;
  pointer.reserve(kLongestAddress);
  appendRegisterAddress(pointer, format, registerAddress);
  if (!pointer.empty()) {
    i2c::I2cMessage write;
    write.address = i2c::DeviceAddress::fromByte(device).writeByte();
    write.bytes = std::move(pointer);
    write.after = pointerThen;
    messages.add(std::move(write));
  }
  i2c::I2cMessage read;
  read.address = i2c::DeviceAddress::fromByte(device).readByte();
  read.read = true;
  read.readLength = byteCount;
  messages.add(std::move(read));
  return messages;
}

i2c::TransferResult transferInFormat(i2c::I2cMaster& master, const i2c::RegisterFormat& format,
                                      i2c::MessageSpan messages,
                                      std::optional<std::size_t> bytesShown) {
  // Other masters (a test's, an adapter used alone) keep no record.
  auto* noting = dynamic_cast<BusMaster*>(&master);
  if (noting == nullptr) return master.transfer(messages);
  const NotedCommand noted(noting->record(), {format, bytesShown});
  return noting->transfer(messages);
}

i2c::TransferResult writeRegister(i2c::I2cMaster& master, std::uint8_t device,
                                   const i2c::RegisterFormat& format, std::uint32_t registerAddress,
                                   std::uint32_t value) {
  return transferInFormat(master, format,
                          registerWriteMessages(device, format, registerAddress, value));
}

RegisterRead readRegisters(i2c::I2cMaster& master, std::uint8_t device,
                           const i2c::RegisterFormat& format, std::uint32_t registerAddress,
                           std::size_t count, i2c::AfterMessage pointerThen,
                           std::optional<std::size_t> bytesShown) {
  if (auto problem = i2c::formatProblem(format)) {
    throw base::RuntimeError(base::RuntimeError::kInvalidCall, "RegisterRead", *problem);
  }
  const std::size_t byteCount = count * static_cast<std::size_t>(format.valueBytes);
  RegisterRead read;
  read.transfer = transferInFormat(
      master, format,
      registerReadMessages(device, format, registerAddress, byteCount, pointerThen), bytesShown);
  if (!read.transfer.messages.empty()) read.bytes = read.transfer.messages.back().bytes;
  read.values = valuesOf(read.bytes, format);
  return read;
}

std::vector<std::uint32_t> valuesOf(const std::vector<std::uint8_t>& bytes,
                                    const i2c::RegisterFormat& format) {
  std::vector<std::uint32_t> values;
  const auto width = static_cast<std::size_t>(format.valueBytes);
  for (std::size_t at = 0; width > 0 && at + width <= bytes.size(); at += width) {
    values.push_back(i2c::decodeValue(std::span(bytes).subspan(at, width), format.order));
  }
  return values;
}

}  // namespace brelvion::bus
