#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace brelvion::i2c {

// The two ways a user writes a device's address: the tool's 8-bit write address (42, the
// first byte of a write), and the 7-bit address (21) of i2c-tools, adapter batches and the
// debugger's "7-bit Addresses" view.
enum class AddressForm { EightBit, SevenBit };

// The form a "7-bit addresses" switch chooses.
constexpr AddressForm addressForm(bool sevenBit) {
  return sevenBit ? AddressForm::SevenBit : AddressForm::EightBit;
}

struct ParsedAddress;

// An I2C device's address, kept as its seven bits; the bytes that start a write or a read
// and both written forms come from it.
class DeviceAddress {
 public:
  constexpr DeviceAddress() = default;

  // From the byte that starts a transfer, or an 8-bit address: bit 0 (read or write) is not
  // part of the address.
  static constexpr DeviceAddress fromByte(std::uint8_t addressByte) {
    return DeviceAddress(static_cast<std::uint8_t>(addressByte >> 1));
  }
  // From a 7-bit address, 00 to 7F.
  static constexpr DeviceAddress fromSevenBit(std::uint8_t address7) {
    return DeviceAddress(static_cast<std::uint8_t>(address7 & 0x7F));
  }

  // A number in form, or nothing when it is past the form's range (FF for 8 bits, 7F for
  // 7). This is the one range check for addresses read from any text or file.
  static std::optional<ParsedAddress> fromNumber(std::uint64_t value, AddressForm form);
  // An address as the user types it in either form: one or two hex digits of either case,
  // nothing else (no blanks, no prefix).
  static std::optional<ParsedAddress> parse(std::string_view text, AddressForm form);

  constexpr std::uint8_t sevenBit() const { return address7_; }
  constexpr std::uint8_t writeByte() const { return static_cast<std::uint8_t>(address7_ << 1); }
  constexpr std::uint8_t readByte() const { return static_cast<std::uint8_t>(writeByte() | 1); }
  constexpr std::uint8_t byteFor(bool read) const { return read ? readByte() : writeByte(); }
  // The number the form shows: the write byte, or the seven bits.
  constexpr std::uint8_t in(AddressForm form) const {
    return form == AddressForm::SevenBit ? sevenBit() : writeByte();
  }
  // The form's number as two upper-case hex digits: "42", or "21" for the 7-bit form.
  std::string text(AddressForm form) const;

  constexpr bool operator==(const DeviceAddress&) const = default;

 private:
  constexpr explicit DeviceAddress(std::uint8_t address7) : address7_(address7) {}

  std::uint8_t address7_ = 0;
};

// An address as the user gave it. An 8-bit number with bit 0 set names the device's read
// address; where a write address is wanted, each reader decides whether that is a mistake.
struct ParsedAddress {
  DeviceAddress device;
  bool readBit = false;

  // An 8-bit number kept as it came, read bit and all.
  static constexpr ParsedAddress fromByte(std::uint8_t byte) {
    return {DeviceAddress::fromByte(byte), (byte & 1) != 0};
  }
  // The 8-bit number as given, read bit included.
  constexpr std::uint8_t byte() const { return device.byteFor(readBit); }
  // Two upper-case hex digits: the number as given ("43" for a read address), or the
  // device's seven bits.
  std::string text(AddressForm form) const;
  constexpr bool operator==(const ParsedAddress&) const = default;
};

}  // namespace brelvion::i2c
