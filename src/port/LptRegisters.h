#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>

namespace brelvion::port {

// The three parallel ports the tool knows, by base (data register) address.
inline constexpr std::array<std::uint16_t, 3> kLptBases{0x378, 0x278, 0x3BC};

// Position of a known port's base in kLptBases (the port index); kLptBases.size() for an
// address that is not one.
constexpr std::size_t lptIndex(std::uint64_t base) {
  std::size_t index = 0;
  while (index < kLptBases.size() && kLptBases[index] != base) ++index;
  return index;
}

constexpr bool isLptBase(std::uint64_t base) { return lptIndex(base) < kLptBases.size(); }

enum class LptRegister { Data, Status, Control };

struct LptAddress {
  std::uint16_t base;
  LptRegister reg;
};

// Which register of which known port an I/O address is, if any.
constexpr std::optional<LptAddress> classifyLptAddress(std::uint16_t port) {
  for (std::uint16_t base : kLptBases) {
    if (port == base) return LptAddress{base, LptRegister::Data};
    if (port == base + 1) return LptAddress{base, LptRegister::Status};
    if (port == base + 2) return LptAddress{base, LptRegister::Control};
  }
  return std::nullopt;
}

// Line encoding of the interface cable: data bit 7 set pulls SDA low, control bit 3 set
// releases SCL, status bit 7 reads SDA.
inline constexpr std::uint8_t kDataSdaLowBit = 0x80;
inline constexpr std::uint8_t kControlSclHighBit = 0x08;
inline constexpr std::uint8_t kStatusSdaBit = 0x80;

constexpr bool sdaReleasedByData(std::uint8_t data) { return (data & kDataSdaLowBit) == 0; }
constexpr bool sclReleasedByControl(std::uint8_t control) {
  return (control & kControlSclHighBit) != 0;
}
constexpr bool sdaHighInStatus(std::uint8_t status) { return (status & kStatusSdaBit) != 0; }

}  // namespace brelvion::port
