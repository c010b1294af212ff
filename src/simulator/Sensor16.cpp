#include "simulator/Sensor16.h"

#include <stdexcept>
#include <string>

#include "i2c/DeviceAddress.h"

namespace brelvion::simulator {

namespace {

struct RegisterDefinition {
  std::uint16_t address;
  int bytes;
  std::uint32_t defaultValue;
  bool readOnly;
  bool writeOnly;
};

// The registers of the class comment; the values of FRAME_COUNT and STATUS are worked out
// when they are read.
constexpr RegisterDefinition kRegisters[] = {
    {0x0000, 2, Sensor16::kChipId, true, false},
    {0x0002, 1, 0x01, true, false},
    {0x0003, 1, 0x00, true, false},
    {0x0005, 1, 0x00, true, false},
    {0x0100, 1, 0x00, false, false},
    {0x0101, 1, 0x00, false, false},
    {0x0103, 1, 0x00, false, true},
    {0x0200, 2, 0x03E8, false, false},
    {0x0202, 2, 0x0010, false, false},
    {0x0204, 1, 0x01, false, false},
    {0x0300, 2, 0x0040, false, false},
    {0x0302, 1, 0x02, false, false},
    {0x0340, 2, 0x0460, false, false},
    {0x0342, 2, 0x0A00, false, false},
    {0x0344, 2, 0x0000, false, false},
    {0x0346, 2, 0x0000, false, false},
    {0x0348, 2, 0x077F, false, false},
    {0x034A, 2, 0x0437, false, false},
    {0x0600, 1, 0x00, false, false},
};

std::uint8_t checkedAddress7(std::uint8_t writeAddress) {
  const i2c::ParsedAddress address = i2c::ParsedAddress::fromByte(writeAddress);
  if (address.readBit) {
    throw std::invalid_argument("A sensor's write address must be even, not " +
                                std::to_string(writeAddress));
  }
  return address.device.sevenBit();
}

}  // namespace

Sensor16::Sensor16(std::uint8_t writeAddress, std::function<std::int64_t()> nowNs)
    : I2cSlave(checkedAddress7(writeAddress)), nowNs_(std::move(nowNs)) {
  restoreDefaults();
}

void Sensor16::restoreDefaults() {
  memory_.fill(0);
  for (const RegisterDefinition& reg : kRegisters) {
    for (int i = 0; i < reg.bytes; ++i) {
      memory_[static_cast<std::uint16_t>(reg.address + i)] =
          static_cast<std::uint8_t>(reg.defaultValue >> (8 * (reg.bytes - 1 - i)));
    }
  }
}

Sensor16::Access Sensor16::accessOf(std::uint16_t address) {
  for (const RegisterDefinition& reg : kRegisters) {
    if (address >= reg.address && address < reg.address + reg.bytes) {
      if (reg.readOnly) return Access::ReadOnly;
      return reg.writeOnly ? Access::WriteOnly : Access::ReadWrite;
    }
  }
  return Access::None;
}

std::uint8_t Sensor16::byteAt(std::uint16_t address) const {
  const std::int64_t now = nowNs_();
  if (address == kRegStatus) {
    const bool streaming = (memory_[kRegModeSelect] & 1) != 0;
    return static_cast<std::uint8_t>((now >= readyAtNs_ ? kStatusReady : 0) |
                                     (streaming ? kStatusStreaming : 0));
  }
  if (address == kRegFrameCount) {
    if ((memory_[kRegModeSelect] & 1) == 0) return 0;
    return static_cast<std::uint8_t>((now - streamingSinceNs_) / kFrameNs);
  }
  if (accessOf(address) == Access::WriteOnly) return 0;
  return memory_[address];
}

bool Sensor16::addressed(bool read) {
  pointerBytesDue_ = read ? 0 : 2;
  return true;
}

bool Sensor16::byteWritten(std::uint8_t value) {
  if (pointerBytesDue_ == 2) {
    pointerHigh_ = value;
    pointerBytesDue_ = 1;
  } else if (pointerBytesDue_ == 1) {
    pointer_ = static_cast<std::uint16_t>((pointerHigh_ << 8) | value);
    pointerBytesDue_ = 0;
  } else {
    store(pointer_++, value);
  }
  return true;
}

std::uint8_t Sensor16::byteToRead() { return byteAt(pointer_++); }

void Sensor16::store(std::uint16_t address, std::uint8_t value) {
  if (!ready()) return;
  const Access access = accessOf(address);
  if (access == Access::None || access == Access::ReadOnly) return;
  if (address == kRegSoftwareReset) {
    if ((value & 1) != 0) {
      restoreDefaults();
      readyAtNs_ = nowNs_() + kResetNs;
    }
    return;
  }
  if (address == kRegModeSelect && (value & 1) != 0 && (memory_[address] & 1) == 0) {
    streamingSinceNs_ = nowNs_();
  }
  memory_[address] = value;
}

}  // namespace brelvion::simulator
