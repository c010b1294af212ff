#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "i2c/RegisterFormat.h"

namespace brelvion::registers {

enum class Access { ReadWrite, ReadOnly, WriteOnly };

// "rw", "ro", "wo", as descriptions and lists write them.
std::string_view accessText(Access access);
std::optional<Access> accessFromText(std::string_view text);

struct NamedValue {
  std::string name;
  std::uint32_t value = 0;
  bool operator==(const NamedValue&) const = default;
};

// Bits lsb to msb of a register, both counted from 0.
struct Field {
  std::string name;
  int msb = 0;
  int lsb = 0;
  std::string description;
  std::vector<NamedValue> values;

  int width() const { return msb - lsb + 1; }
  std::uint32_t mask() const { return width() >= 32 ? 0xFFFFFFFFu : (1u << width()) - 1; }
  bool operator==(const Field&) const = default;
};

struct Register {
  // Empty for the registers of a plain range.
  std::string name;
  std::uint32_t address = 0;
  // The bytes of its value: 1, 2 or 4 (descriptions and lists give the width in bits).
  int valueBytes = 1;
  Access access = Access::ReadWrite;
  std::optional<std::uint32_t> defaultValue;
  std::string description;
  std::vector<Field> fields;

  // The address one past its last byte.
  std::uint32_t end() const { return address + static_cast<std::uint32_t>(valueBytes); }
  bool readable() const { return access != Access::WriteOnly; }
  bool writable() const { return access != Access::ReadOnly; }
  bool operator==(const Register&) const = default;
};

// The register whose value tells which device answers, and the value it must have.
struct ChipIdCheck {
  std::uint32_t address = 0;
  int valueBytes = 1;
  std::uint32_t expected = 0;
  bool operator==(const ChipIdCheck&) const = default;
};

// A device's registers, from a description, a register list or a plain range. The
// registers are in address order and none overlaps another.
struct RegisterMap {
  std::string deviceName;
  // The 8-bit write address, when the description gives one.
  std::optional<std::uint8_t> deviceAddress;
  // Register addresses of 0, 1 or 2 bytes; the value width of a register that does not
  // give its own; the byte order of every value.
  i2c::RegisterFormat format;
  std::optional<ChipIdCheck> chipId;
  std::vector<Register> registers;

  // The format of a transaction on a register whose value takes valueBytes.
  i2c::RegisterFormat formatFor(int valueBytes) const {
    return {format.addressBytes, valueBytes, format.order};
  }
  std::uint32_t maxAddress() const { return i2c::maxRegisterAddress(format); }
  // Case-insensitive, as names are unique regardless of case.
  const Register* findByName(std::string_view name) const;
  const Register* findByAddress(std::uint32_t address) const;
  std::optional<std::size_t> indexOfAddress(std::uint32_t address) const;
  bool operator==(const RegisterMap&) const = default;
};

bool sameName(std::string_view a, std::string_view b);

// Registers first to last (inclusive) of the format's value width each, one after the
// other, all read and write, without names: what the window shows without a description.
// Throws RuntimeError 5 when the range is empty or does not fit the register addresses.
RegisterMap plainRange(std::uint8_t deviceAddress, const i2c::RegisterFormat& format,
                       std::uint32_t first, std::uint32_t last);

// A register name: a letter or '_', then letters, digits and '_'.
bool validName(std::string_view name);

// The upper-case hex of a value of valueBytes, zero-padded to its full width: "03E8".
std::string valueHex(std::uint32_t value, int valueBytes);
// The hex of a register address as the map writes it: 2 digits, 4 for 2-byte addresses.
std::string addressHex(std::uint32_t address, int addressBytes);

}  // namespace brelvion::registers
