#include "i2c/DeviceAddress.h"

#include "numconv/HexText.h"

namespace brelvion::i2c {

std::optional<ParsedAddress> DeviceAddress::fromNumber(std::uint64_t value, AddressForm form) {
  if (form == AddressForm::SevenBit) {
    if (value > 0x7F) return std::nullopt;
    return ParsedAddress{fromSevenBit(static_cast<std::uint8_t>(value)), false};
  }
  if (value > 0xFF) return std::nullopt;
  return ParsedAddress::fromByte(static_cast<std::uint8_t>(value));
}

std::optional<ParsedAddress> DeviceAddress::parse(std::string_view text, AddressForm form) {
  if (text.empty() || text.size() > 2) return std::nullopt;
  std::uint64_t value = 0;
  for (char ch : text) {
    const auto digit = numconv::hexDigitValue(ch);
    if (!digit) return std::nullopt;
    value = (value << 4) | static_cast<std::uint64_t>(*digit);
  }
  return fromNumber(value, form);
}

std::string DeviceAddress::text(AddressForm form) const { return numconv::upperHex(in(form), 2); }

std::string ParsedAddress::text(AddressForm form) const {
  return form == AddressForm::SevenBit ? device.text(form) : numconv::upperHex(byte(), 2);
}

}  // namespace brelvion::i2c
