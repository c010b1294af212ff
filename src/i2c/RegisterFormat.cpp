#include "i2c/RegisterFormat.h"

#include "base/RuntimeError.h"
#include "numconv/HexText.h"

namespace brelvion::i2c {

namespace {

constexpr const char* kSource = "RegisterFormat";

[[noreturn]] void refuse(const std::string& why) {
  throw base::RuntimeError(base::RuntimeError::kInvalidCall, kSource, why);
}

bool validValueBytes(int bytes) { return bytes == 1 || bytes == 2 || bytes == 4; }

}  // namespace

std::optional<std::string> formatProblem(const RegisterFormat& format) {
  if (format.addressBytes < 0 || format.addressBytes > 2) {
    return "A register address is 0, 1 or 2 bytes, not " + std::to_string(format.addressBytes);
  }
  if (!validValueBytes(format.valueBytes)) {
    return "A register value is 1, 2 or 4 bytes, not " + std::to_string(format.valueBytes);
  }
  return std::nullopt;
}

std::uint32_t maxRegisterAddress(const RegisterFormat& format) {
  return format.addressBytes == 0 ? 0 : (1u << (8 * format.addressBytes)) - 1;
}

std::uint32_t maxValue(int bytes) {
  return bytes >= 4 ? 0xFFFFFFFFu : (1u << (8 * bytes)) - 1;
}

void appendRegisterAddress(std::vector<std::uint8_t>& out, const RegisterFormat& format,
                           std::uint32_t registerAddress) {
  if (auto problem = formatProblem(format)) refuse(*problem);
  if (registerAddress > maxRegisterAddress(format)) {
    refuse("Register " + numconv::upperHex(registerAddress) + "h does not fit a " +
           std::to_string(8 * format.addressBytes) + "-bit register address");
  }
  for (int i = format.addressBytes - 1; i >= 0; --i) {
    out.push_back(static_cast<std::uint8_t>(registerAddress >> (8 * i)));
  }
}

void appendValue(std::vector<std::uint8_t>& out, std::uint32_t value, int bytes, ByteOrder order) {
  if (!validValueBytes(bytes)) refuse("A register value is 1, 2 or 4 bytes, not " + std::to_string(bytes));
  if (value > maxValue(bytes)) {
    refuse("Value " + numconv::upperHex(value) + "h does not fit " + std::to_string(8 * bytes) +
           " bits");
  }
  for (int i = 0; i < bytes; ++i) {
    const int shift = order == ByteOrder::BigEndian ? 8 * (bytes - 1 - i) : 8 * i;
    out.push_back(static_cast<std::uint8_t>(value >> shift));
  }
}

std::vector<std::uint8_t> encodeValue(std::uint32_t value, int bytes, ByteOrder order) {
  std::vector<std::uint8_t> encoded;
  appendValue(encoded, value, bytes, order);
  return encoded;
}

std::uint32_t decodeValue(std::span<const std::uint8_t> bytes, ByteOrder order) {
  std::uint32_t value = 0;
  for (std::size_t i = 0; i < bytes.size(); ++i) {
    const std::uint8_t byte = order == ByteOrder::BigEndian ? bytes[i] : bytes[bytes.size() - 1 - i];
    value = (value << 8) | byte;
  }
  return value;
}

}  // namespace brelvion::i2c
