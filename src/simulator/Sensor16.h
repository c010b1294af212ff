#pragma once

#include <array>
#include <cstdint>
#include <functional>

#include "simulator/I2cSlave.h"

namespace brelvion::simulator {

inline constexpr std::uint8_t kDefaultSensor16WriteAddress = 0x20;

// A camera sensor of the newer kind, of this project's own invention (no real product's
// identification or layout): 16-bit register addresses, most significant byte first, one
// address per byte, the pointer moving on by one with every byte written or read and
// wrapping from FFFFh to 0000h. A 16-bit register takes two addresses, its high byte at
// the lower one.
//
//   0000  CHIP_ID             16  ro  B716h
//   0002  REVISION             8  ro  01h
//   0003  FRAME_COUNT          8  ro  frames since streaming started (a frame is 33 ms)
//   0005  STATUS               8  ro  bit 0 READY, bit 1 STREAMING
//   0100  MODE_SELECT          8  rw  00h  bit 0 STREAM
//   0101  ORIENTATION          8  rw  00h  bit 0 H_MIRROR, bit 1 V_FLIP
//   0103  SOFTWARE_RESET       8  wo  bit 0 set: every register back to its default, and
//                                     not ready (STATUS bit 0 clear) for 5 ms, during
//                                     which writes are acknowledged and dropped
//   0200  EXPOSURE            16  rw  03E8h
//   0202  ANALOG_GAIN         16  rw  0010h
//   0204  DIGITAL_GAIN         8  rw  01h
//   0300  PLL_MULTIPLIER      16  rw  0040h
//   0302  PLL_PREDIV           8  rw  02h
//   0340  FRAME_LENGTH_LINES  16  rw  0460h
//   0342  LINE_LENGTH_PCK     16  rw  0A00h
//   0344  X_ADDR_START        16  rw  0000h
//   0346  Y_ADDR_START        16  rw  0000h
//   0348  X_ADDR_END          16  rw  077Fh
//   034A  Y_ADDR_END          16  rw  0437h
//   0600  TEST_PATTERN         8  rw  00h  0 off, 1 solid colour, 2 colour bars, 3 fade, 4 PN9
//
// Every other address reads 00h and drops what is written to it, as do read-only
// registers; a write-only register reads 00h. data/sim-sensor16.yaml describes it.
class Sensor16 : public I2cSlave {
 public:
  static constexpr std::uint16_t kRegChipId = 0x0000;
  static constexpr std::uint16_t kChipId = 0xB716;
  static constexpr std::uint16_t kRegRevision = 0x0002;
  static constexpr std::uint16_t kRegFrameCount = 0x0003;
  static constexpr std::uint16_t kRegStatus = 0x0005;
  static constexpr std::uint16_t kRegModeSelect = 0x0100;
  static constexpr std::uint16_t kRegOrientation = 0x0101;
  static constexpr std::uint16_t kRegSoftwareReset = 0x0103;
  static constexpr std::uint16_t kRegExposure = 0x0200;
  static constexpr std::uint16_t kRegTestPattern = 0x0600;
  static constexpr std::uint8_t kStatusReady = 0x01;
  static constexpr std::uint8_t kStatusStreaming = 0x02;
  static constexpr std::int64_t kResetNs = 5'000'000;
  static constexpr std::int64_t kFrameNs = 33'000'000;

  // writeAddress: the 8-bit write address (even). nowNs: the bus's time, which the reset
  // and the frame count go by. Throws std::invalid_argument for an odd address.
  Sensor16(std::uint8_t writeAddress, std::function<std::int64_t()> nowNs);

  // What a read of the address would give now.
  std::uint8_t byteAt(std::uint16_t address) const;
  std::uint16_t pointer() const { return pointer_; }
  bool ready() const { return nowNs_() >= readyAtNs_; }

 protected:
  bool addressed(bool read) override;
  bool byteWritten(std::uint8_t value) override;
  std::uint8_t byteToRead() override;

 private:
  enum class Access { None, ReadOnly, WriteOnly, ReadWrite };
  static Access accessOf(std::uint16_t address);
  void store(std::uint16_t address, std::uint8_t value);
  void restoreDefaults();

  std::function<std::int64_t()> nowNs_;
  std::array<std::uint8_t, 0x10000> memory_{};
  std::uint16_t pointer_ = 0;
  // Address bytes still to come in the current write: 2 after the address byte, then 1, 0.
  int pointerBytesDue_ = 0;
  std::uint8_t pointerHigh_ = 0;
  std::int64_t readyAtNs_ = 0;
  std::int64_t streamingSinceNs_ = 0;
};

}  // namespace brelvion::simulator
