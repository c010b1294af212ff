#include "bus/RegisterAccess.h"

#include <span>

#include "base/RuntimeError.h"
#include "bus/BusEngine.h"
#include "bus/BusMaster.h"
#include "port/DeviceAddress.h"

namespace brelvion::bus {

namespace {

// The longest register address and value.
constexpr std::size_t kLongestAddress = 2;
constexpr std::size_t kLongestValue = 4;

}  // namespace

RegisterMessages registerWriteMessages(std::uint8_t device, const RegisterFormat& format,
                                       std::uint32_t registerAddress, std::uint32_t value) {
  port::I2cMessage write;
  write.address = port::DeviceAddress::fromByte(device).writeByte();
  write.bytes.reserve(kLongestAddress + kLongestValue);
  appendRegisterAddress(write.bytes, format, registerAddress);
  appendValue(write.bytes, value, format.valueBytes, format.order);
  RegisterMessages messages;
  messages.add(std::move(write));
  return messages;
}

RegisterMessages registerReadMessages(std::uint8_t device, const RegisterFormat& format,
                                      std::uint32_t registerAddress, std::size_t byteCount,
                                      port::AfterMessage pointerThen) {
  if (byteCount == 0) {
    throw base::RuntimeError(base::RuntimeError::kInvalidCall, "RegisterRead",
                             "A register read takes at least one byte");
  }
  RegisterMessages messages;
  std::vector<std::uint8_t> pointer;
  pointer.reserve(kLongestAddress);
  appendRegisterAddress(pointer, format, registerAddress);
  if (!pointer.empty()) {
    port::I2cMessage write;
    write.address = port::DeviceAddress::fromByte(device).writeByte();
    write.bytes = std::move(pointer);
    write.after = pointerThen;
    messages.add(std::move(write));
  }
  port::I2cMessage read;
  read.address = port::DeviceAddress::fromByte(device).readByte();
  read.read = true;
  read.readLength = byteCount;
  messages.add(std::move(read));
  return messages;
}

port::TransferResult transferInFormat(port::I2cMaster& master, const RegisterFormat& format,
                                      port::MessageSpan messages,
                                      std::optional<std::size_t> bytesShown) {
  // Other masters (a test's, an adapter used alone) keep no record.
  auto* noting = dynamic_cast<BusMaster*>(&master);
  if (noting == nullptr) return master.transfer(messages);
  const NotedCommand noted(noting->record(), {format, bytesShown});
  return noting->transfer(messages);
}

port::TransferResult writeRegister(port::I2cMaster& master, std::uint8_t device,
                                   const RegisterFormat& format, std::uint32_t registerAddress,
                                   std::uint32_t value) {
  return transferInFormat(master, format,
                          registerWriteMessages(device, format, registerAddress, value));
}

RegisterRead readRegisters(port::I2cMaster& master, std::uint8_t device,
                           const RegisterFormat& format, std::uint32_t registerAddress,
                           std::size_t count, port::AfterMessage pointerThen,
                           std::optional<std::size_t> bytesShown) {
  if (auto problem = formatProblem(format)) {
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
                                    const RegisterFormat& format) {
  std::vector<std::uint32_t> values;
  const auto width = static_cast<std::size_t>(format.valueBytes);
  for (std::size_t at = 0; width > 0 && at + width <= bytes.size(); at += width) {
    values.push_back(decodeValue(std::span(bytes).subspan(at, width), format.order));
  }
  return values;
}

}  // namespace brelvion::bus
