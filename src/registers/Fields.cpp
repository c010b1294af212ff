#include "registers/Fields.h"

#include <algorithm>

#include "base/RuntimeError.h"
#include "numconv/HexText.h"

namespace brelvion::registers {

std::uint32_t fieldValue(std::uint32_t registerValue, const Field& field) {
  return (registerValue >> field.lsb) & field.mask();
}

std::uint32_t withFieldValue(std::uint32_t registerValue, const Field& field,
                             std::uint32_t value) {
  if (value > field.mask()) {
    throw base::RuntimeError(base::RuntimeError::kInvalidCall, "Register Map",
                             "Field " + field.name + " takes " + std::to_string(field.width()) +
                                 " bits; " + numconv::upperHex(value) + "h does not fit");
  }
  const std::uint32_t mask = field.mask() << field.lsb;
  return (registerValue & ~mask) | (value << field.lsb);
}

const NamedValue* namedValueOf(const Field& field, std::uint32_t value) {
  const auto found = std::find_if(field.values.begin(), field.values.end(),
                                  [&](const NamedValue& named) { return named.value == value; });
  return found == field.values.end() ? nullptr : &*found;
}

std::string fieldValueText(const Field& field, std::uint32_t value) {
  std::string text = field.width() <= 4 ? std::to_string(value) : numconv::upperHex(value) + "h";
  if (const NamedValue* named = namedValueOf(field, value)) text += " (" + named->name + ")";
  return text;
}

std::string fieldBitsText(const Field& field) {
  if (field.msb == field.lsb) return std::to_string(field.msb);
  return std::to_string(field.msb) + ":" + std::to_string(field.lsb);
}

std::vector<std::string> decodedFieldLines(const Register& reg, std::uint32_t value) {
  std::size_t nameWidth = 0;
  for (const Field& field : reg.fields) nameWidth = std::max(nameWidth, field.name.size());
  std::vector<std::string> lines;
  for (const Field& field : reg.fields) {
    std::string name = field.name;
    name.resize(nameWidth, ' ');
    std::string bits = (field.msb == field.lsb ? "bit " : "bits ") + fieldBitsText(field);
    bits.resize(10, ' ');
    lines.push_back("  " + name + "  " + bits + fieldValueText(field, fieldValue(value, field)));
  }
  return lines;
}

}  // namespace brelvion::registers
