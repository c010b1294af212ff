#include "registers/MapWindowLogic.h"

#include <algorithm>

#include "base/Text.h"
#include "i2c/DeviceAddress.h"
#include "registers/SourceText.h"

namespace brelvion::registers {

std::optional<std::uint8_t> deviceFromText(const std::string& text) {
  const auto address =
      i2c::DeviceAddress::parse(base::trimmed(text, " "), i2c::AddressForm::EightBit);
  if (!address) return std::nullopt;
  return address->device.writeByte();
}

std::variant<RegisterMap, std::string> rangeFromFields(const RangeFields& fields) {
  const auto device = deviceFromText(fields.device);
  if (!device) return "The device address is one or two hex digits";
  const i2c::RegisterFormat& format = fields.format;
  const int digits = format.addressBytes * 2;
  const auto first = valueFromText(fields.first, format.addressBytes);
  const auto last = valueFromText(fields.last, format.addressBytes);
  if (!first || !last) {
    return "First and Last are register addresses of up to " + std::to_string(digits) +
           " hex digits";
  }
  const auto bytes = static_cast<std::uint32_t>(format.valueBytes);
  if (*first > *last || *last - *first + 1 < bytes) {
    return "Last must come at least one " + std::to_string(8 * format.valueBytes) +
           "-bit register after First";
  }
  return plainRange(*device, format, *first, *last);
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

std::optional<ChipIdOutcome> chipIdFromRead(const RegisterTable& table,
                                            const std::vector<ReadRun>& runs) {
  const RegisterMap& map = table.map();
  if (!map.chipId) return std::nullopt;
  const auto index = map.indexOfAddress(map.chipId->address);
  if (!index || map.registers[*index].valueBytes != map.chipId->valueBytes) return std::nullopt;
  const bool read = std::any_of(runs.begin(), runs.end(), [&](const ReadRun& run) {
    return *index >= run.first && *index < run.first + run.count;
  });
  if (!read) return std::nullopt;
  const RegisterState& state = table.state(*index);
  ChipIdOutcome outcome;
  outcome.answered = !state.readFailed && state.value.has_value();
  if (outcome.answered) {
    outcome.value = *state.value;
    outcome.matches = outcome.value == map.chipId->expected;
  }
  return outcome;
}

bool noteWriteElsewhere(RegisterTable& table, std::uint8_t device, const bus::Transaction& message) {
  using i2c::MessageOutcome;
  if (message.read || i2c::DeviceAddress::fromByte(message.address).writeByte() != device) {
    return false;
  }
  std::size_t reached = message.bytes.size();
  if (message.outcome == MessageOutcome::DataNotAcknowledged) {
    // The byte not acknowledged reached the device too, which may have taken it.
    reached = std::min(reached, message.nackedByte + 1);
  } else if (message.outcome != MessageOutcome::Acknowledged) {
    return false;
  }
  const auto addressBytes = static_cast<std::size_t>(table.map().format.addressBytes);
  if (addressBytes == 0 || reached <= addressBytes) return false;
  std::uint32_t first = 0;
  for (std::size_t i = 0; i < addressBytes; ++i) first = first << 8 | message.bytes[i];
  return table.applyWriteElsewhere(
      first, std::span(message.bytes).subspan(addressBytes, reached - addressBytes));
}

std::vector<CellBlock> changedCells(std::size_t rows, std::optional<std::size_t> editedRow) {
  if (rows == 0) return {};
  if (!editedRow || *editedRow >= rows) return {{0, rows - 1}};
  const std::size_t edited = *editedRow;
  std::vector<CellBlock> blocks;
  if (edited > 0) blocks.push_back({0, edited - 1});
  blocks.push_back({edited, edited, Column::Default, Column::Mark});
  if (edited + 1 < rows) blocks.push_back({edited + 1, rows - 1});
  return blocks;
}

std::string registerTitle(const RegisterMap& map, const Register& reg) {
  const std::string address = addressHex(reg.address, map.format.addressBytes);
  return reg.name.empty() ? address : reg.name + " (" + address + ")";
}

}  // namespace brelvion::registers
