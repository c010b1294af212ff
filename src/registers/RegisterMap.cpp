#include "registers/RegisterMap.h"

#include <algorithm>
#include <cctype>

#include "base/RuntimeError.h"
#include "numconv/HexText.h"
#include "i2c/DeviceAddress.h"

namespace brelvion::registers {

std::string_view accessText(Access access) {
  switch (access) {
    case Access::ReadOnly:
      return "ro";
    case Access::WriteOnly:
      return "wo";
    case Access::ReadWrite:
      break;
  }
  return "rw";
}

std::optional<Access> accessFromText(std::string_view text) {
  if (text == "rw") return Access::ReadWrite;
  if (text == "ro") return Access::ReadOnly;
  if (text == "wo") return Access::WriteOnly;
  return std::nullopt;
}

bool sameName(std::string_view a, std::string_view b) {
  return std::equal(a.begin(), a.end(), b.begin(), b.end(), [](char x, char y) {
    return std::toupper(static_cast<unsigned char>(x)) == std::toupper(static_cast<unsigned char>(y));
  });
}

const Register* RegisterMap::findByName(std::string_view name) const {
  for (const Register& reg : registers) {
    if (!reg.name.empty() && sameName(reg.name, name)) return &reg;
  }
  return nullptr;
}

std::optional<std::size_t> RegisterMap::indexOfAddress(std::uint32_t address) const {
  const auto found = std::lower_bound(
      registers.begin(), registers.end(), address,
      [](const Register& reg, std::uint32_t wanted) { return reg.address < wanted; });
  if (found == registers.end() || found->address != address) return std::nullopt;
  return static_cast<std::size_t>(found - registers.begin());
}

const Register* RegisterMap::findByAddress(std::uint32_t address) const {
  const auto index = indexOfAddress(address);
  return index ? &registers[*index] : nullptr;
}

RegisterMap plainRange(std::uint8_t deviceAddress, const i2c::RegisterFormat& format,
                       std::uint32_t first, std::uint32_t last) {
  if (auto problem = i2c::formatProblem(format)) {
    throw base::RuntimeError(base::RuntimeError::kInvalidCall, "Register Map", *problem);
  }
  RegisterMap map;
  map.deviceAddress = i2c::DeviceAddress::fromByte(deviceAddress).writeByte();
  map.format = format;
  const auto bytes = static_cast<std::uint32_t>(format.valueBytes);
  if (first > last || last > map.maxAddress() || last - first + 1 < bytes) {
    throw base::RuntimeError(base::RuntimeError::kInvalidCall, "Register Map",
                             "Registers " + addressHex(first, format.addressBytes) + " to " +
                                 addressHex(last, format.addressBytes) + " are no range of " +
                                 std::to_string(8 * format.valueBytes) + "-bit registers with " +
                                 std::to_string(8 * format.addressBytes) + "-bit addresses");
  }
  for (std::uint64_t address = first; address + bytes - 1 <= last; address += bytes) {
    Register reg;
    reg.address = static_cast<std::uint32_t>(address);
    reg.valueBytes = format.valueBytes;
    map.registers.push_back(reg);
  }
  return map;
}

bool validName(std::string_view name) {
  if (name.empty()) return false;
  const auto letter = [](char ch) {
    return std::isalpha(static_cast<unsigned char>(ch)) != 0 || ch == '_';
  };
  if (!letter(name.front())) return false;
  return std::all_of(name.begin(), name.end(), [&](char ch) {
    return letter(ch) || std::isdigit(static_cast<unsigned char>(ch)) != 0;
  });
}

std::string valueHex(std::uint32_t value, int valueBytes) {
  return numconv::upperHex(value, std::max(valueBytes * 2, 1));
}

std::string addressHex(std::uint32_t address, int addressBytes) {
  return numconv::upperHex(address, addressBytes > 1 ? 4 : 2);
}

}  // namespace brelvion::registers
