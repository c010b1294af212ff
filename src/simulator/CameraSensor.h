#pragma once

#include <cstdint>
#include <optional>

#include "simulator/RegisterDevice.h"

namespace brelvion::simulator {

inline constexpr std::uint8_t kDefaultSensorWriteAddress = 0x42;

struct CameraSensorOptions {
  // The 8-bit write address (even); the sensor answers the read address one above it.
  std::uint8_t writeAddress = kDefaultSensorWriteAddress;
  // Acknowledge only this many bytes (address bytes and written bytes alike), then never
  // again, like a device that fails while in use.
  std::optional<int> acknowledgeLimit;
  // Start as a master reset in the middle of a read left the sensor: see CameraSensor.
  bool stuckMidByte = false;
  // How far into its byte a stuck sensor was stopped: bits already clocked out, 1 to 8.
  int stuckBitsClocked = 4;
  // Nanoseconds the sensor holds SCL low after each byte it takes part in; 0 never.
  std::int64_t clockStretchNs = 0;
};

// The camera sensor the tool is tried out against: a register device of this project's own
// invention, with no real product's identification or register layout.
//
// Registers:
//   F8h  chip ID, high byte   B7h  read-only
//   F9h  chip ID, low byte    3Eh  read-only
//   FAh  silicon revision     02h  read-only
//   FBh  vendor code          5Ch  read-only
//   B3h  system control       12h  bit 6 (40h) is soft reset: writing it set restores every
//                                  register to its default; the written value is not kept.
//   all others: (25h * n + 28h) mod 100h, all different and none zero, so a read from the
//   wrong register shows.
// Writes to read-only registers are acknowledged and dropped, as a real part does.
//
// A stuck sensor starts some bits (four unless told otherwise) into sending 00h with SCL
// high, so it holds SDA low. After four a bus clear frees it with exactly six clock pulses:
// the first four clock out bits 4 to 7, the fifth leaves the ninth (acknowledge) slot to
// the master with SDA released, and on the sixth the master's SDA rising while SCL is high
// is a STOP. After fewer bits more zeros are left than the clear's six pulses clock out,
// and only a bus recovery's up to nine pulses free it.
class CameraSensor : public RegisterDevice {
 public:
  static constexpr std::uint8_t kRegChipIdHigh = 0xF8;
  static constexpr std::uint8_t kRegChipIdLow = 0xF9;
  static constexpr std::uint8_t kRegRevision = 0xFA;
  static constexpr std::uint8_t kRegVendorCode = 0xFB;
  static constexpr std::uint8_t kChipIdHigh = 0xB7;
  static constexpr std::uint8_t kChipIdLow = 0x3E;
  static constexpr std::uint8_t kRevision = 0x02;
  static constexpr std::uint8_t kVendorCode = 0x5C;
  static constexpr std::uint8_t kRegSystemControl = 0xB3;
  static constexpr std::uint8_t kSystemControlDefault = 0x12;
  static constexpr std::uint8_t kSoftResetBit = 0x40;

  // Throws std::invalid_argument for an odd write address, a negative acknowledge limit or
  // clock stretch, or a stuck sensor stopped after no bits or more than eight.
  explicit CameraSensor(const CameraSensorOptions& options = {});

  static std::uint8_t defaultValue(std::uint8_t index);
  static bool isReadOnly(std::uint8_t index) {
    return index >= kRegChipIdHigh && index <= kRegVendorCode;
  }

 protected:
  bool addressed(bool read) override;
  bool byteWritten(std::uint8_t value) override;
  void store(std::uint8_t index, std::uint8_t value) override;

 private:
  bool spendAcknowledge();

  std::optional<int> acknowledgesLeft_;
};

}  // namespace brelvion::simulator
