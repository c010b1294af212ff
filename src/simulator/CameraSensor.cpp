#include "simulator/CameraSensor.h"

#include <stdexcept>
#include <string>

#include "i2c/DeviceAddress.h"

namespace brelvion::simulator {

namespace {

// A zero byte holds SDA low on every bit it has left, the worst a stuck slave can do.
constexpr std::uint8_t kStuckByte = 0x00;

RegisterDevice::Registers defaultRegisters() {
  RegisterDevice::Registers registers{};
  for (std::size_t i = 0; i < registers.size(); ++i) {
    registers[i] = CameraSensor::defaultValue(static_cast<std::uint8_t>(i));
  }
  return registers;
}

std::uint8_t checkedAddress7(const CameraSensorOptions& options) {
  const i2c::ParsedAddress address = i2c::ParsedAddress::fromByte(options.writeAddress);
  if (address.readBit) {
    throw std::invalid_argument("A sensor's write address must be even, not " +
                                std::to_string(options.writeAddress));
  }
  return address.device.sevenBit();
}

}  // namespace

CameraSensor::CameraSensor(const CameraSensorOptions& options)
    : RegisterDevice(checkedAddress7(options), defaultRegisters()),
      acknowledgesLeft_(options.acknowledgeLimit) {
  if (acknowledgesLeft_ && *acknowledgesLeft_ < 0) {
    throw std::invalid_argument("A sensor's acknowledge limit cannot be negative");
  }
  if (options.clockStretchNs < 0) {
    throw std::invalid_argument("A sensor's clock stretch cannot be negative");
  }
  setClockStretch(options.clockStretchNs);
  if (options.stuckMidByte) resumeMidRead(kStuckByte, options.stuckBitsClocked);
}

std::uint8_t CameraSensor::defaultValue(std::uint8_t index) {
  switch (index) {
    case kRegChipIdHigh:
      return kChipIdHigh;
    case kRegChipIdLow:
      return kChipIdLow;
    case kRegRevision:
      return kRevision;
    case kRegVendorCode:
      return kVendorCode;
    case kRegSystemControl:
      return kSystemControlDefault;
    default:
      // 25h is odd, so this runs through all 256 values; the one register it would give
      // zero is F8h, an ID register.
      return static_cast<std::uint8_t>(0x25 * index + 0x28);
  }
}

bool CameraSensor::addressed(bool read) {
  return spendAcknowledge() && RegisterDevice::addressed(read);
}

bool CameraSensor::byteWritten(std::uint8_t value) {
  return spendAcknowledge() && RegisterDevice::byteWritten(value);
}

void CameraSensor::store(std::uint8_t index, std::uint8_t value) {
  if (isReadOnly(index)) return;
  if (index == kRegSystemControl && (value & kSoftResetBit) != 0) {
    registers() = defaultRegisters();
    return;
  }
  RegisterDevice::store(index, value);
}

bool CameraSensor::spendAcknowledge() {
  if (!acknowledgesLeft_) return true;
  if (*acknowledgesLeft_ == 0) return false;
  --*acknowledgesLeft_;
  return true;
}

}  // namespace brelvion::simulator
