#include "registers/MapChecks.h"

#include <algorithm>
#include <map>
#include <string>

namespace brelvion::registers {

namespace {

std::string upperName(const std::string& name) {
  std::string upper = name;
  for (char& ch : upper) ch = static_cast<char>(std::toupper(static_cast<unsigned char>(ch)));
  return upper;
}

}  // namespace

std::optional<Clash> findClash(const std::vector<Register>& registers) {
  std::map<std::string, std::size_t> names;
  // Each register's first byte, mapped to its index in listing order.
  std::map<std::uint32_t, std::size_t> starts;
  for (std::size_t i = 0; i < registers.size(); ++i) {
    const Register& reg = registers[i];
    if (!reg.name.empty()) {
      const auto [at, added] = names.emplace(upperName(reg.name), i);
      if (!added) return Clash{Clash::Kind::SameName, at->second, i};
    }
    const auto same = starts.find(reg.address);
    if (same != starts.end()) return Clash{Clash::Kind::SameAddress, same->second, i};
    // The register starting at or before this one's end, if it reaches into it, or the one
    // before it that reaches this one's start.
    auto next = starts.lower_bound(reg.address);
    if (next != starts.end() && next->first < reg.end()) {
      return Clash{Clash::Kind::Overlap, next->second, i};
    }
    if (next != starts.begin()) {
      const auto before = std::prev(next);
      if (registers[before->second].end() > reg.address) {
        return Clash{Clash::Kind::Overlap, before->second, i};
      }
    }
    starts.emplace(reg.address, i);
  }
  return std::nullopt;
}

std::string clashText(const Clash& clash, const std::vector<Register>& registers, int addressBytes,
                      int earlierLine) {
  const Register& later = registers[clash.later];
  const Register& earlier = registers[clash.earlier];
  const std::string line = "line " + std::to_string(earlierLine);
  const std::string earlierByName = earlier.name.empty() ? line : earlier.name + " at " + line;
  switch (clash.kind) {
    case Clash::Kind::SameName:
      return "register name " + later.name + " is used twice (first at " + line + ")";
    case Clash::Kind::SameAddress:
      return "register address " + addressHex(later.address, addressBytes) +
             " is used twice (first by " + earlierByName + ")";
    case Clash::Kind::Overlap:
      break;
  }
  return "the " + std::to_string(8 * later.valueBytes) + "-bit register at " +
         addressHex(later.address, addressBytes) + " overlaps the " +
         std::to_string(8 * earlier.valueBytes) + "-bit register at " +
         addressHex(earlier.address, addressBytes) + " (" + earlierByName + ")";
}

std::optional<std::string> widthProblem(std::uint32_t bits) {
  if (bits == 8 || bits == 16 || bits == 32) return std::nullopt;
  return "a register is 8, 16 or 32 bits wide, not " + std::to_string(bits);
}

std::optional<std::string> placeProblem(const Register& reg, int addressBytes) {
  // Without a register address a device has one register, however wide.
  if (addressBytes == 0) {
    if (reg.address == 0) return std::nullopt;
    return "without register addresses (register-bits 0) the one register is at 0, not " +
           valueHex(reg.address, 0) + "h";
  }
  const std::uint32_t max = i2c::maxRegisterAddress({addressBytes, 1, {}});
  if (reg.address > max) {
    return "register address " + valueHex(reg.address, 0) + "h does not fit " +
           std::to_string(8 * addressBytes) + "-bit register addresses";
  }
  if (static_cast<std::uint64_t>(reg.address) + static_cast<std::uint64_t>(reg.valueBytes) - 1 >
      max) {
    return "a " + std::to_string(8 * reg.valueBytes) + "-bit register at " +
           addressHex(reg.address, addressBytes) + " runs past the last register address " +
           addressHex(max, addressBytes);
  }
  return std::nullopt;
}

std::optional<std::string> valueProblem(const char* what, std::uint32_t value, int bits) {
  if (bits >= 32 || (value >> bits) == 0) return std::nullopt;
  return std::string(what) + " " + valueHex(value, 0) + "h is wider than " + std::to_string(bits) +
         " bits";
}

std::optional<std::string> fieldBitsProblem(const Field& field, int valueBytes) {
  const std::string bits = std::to_string(field.msb) + ":" + std::to_string(field.lsb);
  if (field.msb < field.lsb) {
    return "field " + field.name + ": bits " + bits + " go the wrong way (high bit first)";
  }
  if (field.lsb < 0 || field.msb >= 8 * valueBytes) {
    return "field " + field.name + " (bits " + bits + ") lies outside its " +
           std::to_string(8 * valueBytes) + "-bit register";
  }
  return std::nullopt;
}

std::optional<std::string> namedValuesProblem(const Field& field) {
  for (std::size_t i = 0; i < field.values.size(); ++i) {
    const NamedValue& named = field.values[i];
    if (auto problem = valueProblem("value", named.value, field.width())) {
      return "field " + field.name + ": " + named.name + ": " + *problem;
    }
    for (std::size_t k = 0; k < i; ++k) {
      if (field.values[k].name == named.name) {
        return "field " + field.name + ": the value name " + named.name + " is used twice";
      }
    }
  }
  return std::nullopt;
}

std::optional<FieldClash> findFieldClash(const std::vector<Field>& fields) {
  for (std::size_t i = 0; i < fields.size(); ++i) {
    for (std::size_t k = 0; k < i; ++k) {
      if (sameName(fields[k].name, fields[i].name)) {
        return FieldClash{i, "field name " + fields[i].name + " is used twice in the register"};
      }
      if (fields[i].lsb <= fields[k].msb && fields[k].lsb <= fields[i].msb) {
        return FieldClash{i, "field " + fields[i].name + " shares bits with field " + fields[k].name};
      }
    }
  }
  return std::nullopt;
}

void sortByAddress(std::vector<Register>& registers) {
  std::stable_sort(registers.begin(), registers.end(),
                   [](const Register& a, const Register& b) { return a.address < b.address; });
}

}  // namespace brelvion::registers
