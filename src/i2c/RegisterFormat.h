#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <vector>

namespace brelvion::i2c {

// The order of a value's bytes on the wire. Register addresses always go most significant
// byte first, as the sensors this tool is for take them.
enum class ByteOrder { BigEndian, LittleEndian };

// How a device's registers are reached: a register address of 0 (a device with one
// register, or one that reads from where it last stopped), 1 or 2 bytes, and values of 1,
// 2 or 4 bytes. One register address per byte: a 16-bit register at 0100h takes 0100h and
// 0101h, and a sequential read moves on a byte at a time, as camera sensors count.
struct RegisterFormat {
  int addressBytes = 1;
  int valueBytes = 1;
  ByteOrder order = ByteOrder::BigEndian;

  bool operator==(const RegisterFormat&) const = default;
};

// The design's format: one-byte register addresses and one-byte values.
inline constexpr RegisterFormat kByteRegisters{};

// Why the format cannot be used, or nothing.
std::optional<std::string> formatProblem(const RegisterFormat& format);

// The largest register address, and the largest value of `bytes` bytes.
std::uint32_t maxRegisterAddress(const RegisterFormat& format);
std::uint32_t maxValue(int bytes);

// Appends to out the register address as the bytes that set the device's pointer, most
// significant first. Throws RuntimeError 5 for an address that does not fit the format.
void appendRegisterAddress(std::vector<std::uint8_t>& out, const RegisterFormat& format,
                           std::uint32_t registerAddress);

// A value of `bytes` bytes in order, appended to out or as bytes of its own. Throws
// RuntimeError 5 for a value wider than that.
void appendValue(std::vector<std::uint8_t>& out, std::uint32_t value, int bytes, ByteOrder order);
std::vector<std::uint8_t> encodeValue(std::uint32_t value, int bytes, ByteOrder order);
// bytes.size() (1 to 4) bytes in order as one value.
std::uint32_t decodeValue(std::span<const std::uint8_t> bytes, ByteOrder order);

}  // namespace brelvion::i2c
