#include "registers/MapWindowLogic.h"

#include "base/Text.h"
#include "registers/SourceText.h"

namespace brelvion::registers {

std::optional<std::uint8_t> deviceFromText(const std::string& text) {
  const std::string digits = base::trimmed(text, " ");
  if (digits.empty() || digits.size() > 2) return std::nullopt;
  const auto value = hexFromText(digits);
  if (!value) return std::nullopt;
  return static_cast<std::uint8_t>(*value & 0xFE);
}

std::variant<RegisterMap, std::string> rangeFromFields(const RangeFields& fields) {
  const auto device = deviceFromText(fields.device);
  if (!device) return "The device address is one or two hex digits";
  const int digits = fields.registerBits / 4;
  const auto first = valueFromText(fields.first, fields.registerBits);
  const auto last = valueFromText(fields.last, fields.registerBits);
  if (!first || !last) {
    return "First and Last are register addresses of up to " + std::to_string(digits) +
           " hex digits";
  }
  const std::uint32_t bytes = static_cast<std::uint32_t>(fields.valueBits / 8);
  if (*first > *last || *last - *first + 1 < bytes) {
    return "Last must come at least one " + std::to_string(fields.valueBits) +
           "-bit register after First";
  }
  return plainRange(*device, fields.registerBits, fields.valueBits,
                    fields.littleEndian ? bus::ByteOrder::LittleEndian : bus::ByteOrder::BigEndian,
                    *first, *last);
}

std::uint32_t fieldEditBase(const RegisterTable& table, std::size_t index) {
  const Register& reg = table.map().registers.at(index);
  const RegisterState& state = table.state(index);
  const auto known = reg.readable() ? state.value : state.written;
  return known.value_or(reg.defaultValue.value_or(0));
}

std::optional<ReadRun> RefreshCycle::next() {
  if (next_ >= runs_.size()) {
    next_ = 0;
    return std::nullopt;
  }
  return runs_[next_++];
}

std::string comparisonTitle(const std::string& left, const std::string& right,
                            std::size_t differences) {
  const std::string sides = left + " -> " + right + ": ";
  if (differences == 0) return sides + "no differences";
  return sides + std::to_string(differences) + (differences == 1 ? " difference" : " differences");
}

std::string registerTitle(const RegisterMap& map, const Register& reg) {
  const std::string address = addressHex(reg.address, map.registerBits);
  return reg.name.empty() ? address : reg.name + " (" + address + ")";
}

}  // namespace brelvion::registers
