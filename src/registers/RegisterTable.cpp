#include "registers/RegisterTable.h"

#include <algorithm>
#include <cctype>
#include <span>

#include "base/Text.h"
#include "i2c/RegisterFormat.h"
#include "registers/SourceText.h"

namespace brelvion::registers {

namespace {

std::string upper(std::string text) {
  for (char& ch : text) ch = static_cast<char>(std::toupper(static_cast<unsigned char>(ch)));
  return text;
}

}  // namespace

bool matchesFilter(const Register& reg, int addressBytes, const std::string& filter) {
  const std::string wanted = upper(base::trimmed(filter, " \t"));
  if (wanted.empty()) return true;
  if (upper(reg.name).find(wanted) != std::string::npos) return true;
  const std::string digits = wanted.rfind("0X", 0) == 0 ? wanted.substr(2) : wanted;
  return !digits.empty() && addressHex(reg.address, addressBytes).rfind(digits, 0) == 0;
}

std::optional<std::uint32_t> valueFromText(const std::string& text, int bytes) {
  std::string digits = base::trimmed(text, " \t");
  if (digits.size() > 2 && digits[0] == '0' && (digits[1] == 'x' || digits[1] == 'X')) {
    digits.erase(0, 2);
  } else if (digits.size() > 1 && (digits.back() == 'h' || digits.back() == 'H')) {
    digits.pop_back();
  }
  if (static_cast<int>(digits.size()) > bytes * 2) return std::nullopt;
  return hexFromText(digits);
}

RegisterTable::RegisterTable(RegisterMap map)
    : map_(std::move(map)), states_(map_.registers.size()), compared_(map_.registers.size()) {
  setFilter({});
}

std::optional<std::size_t> RegisterTable::rowOf(std::size_t index) const {
  const auto found = std::lower_bound(rows_.begin(), rows_.end(), index);
  if (found == rows_.end() || *found != index) return std::nullopt;
  return static_cast<std::size_t>(found - rows_.begin());
}

void RegisterTable::setFilter(const std::string& filter) {
  filter_ = filter;
  rows_.clear();
  for (std::size_t i = 0; i < map_.registers.size(); ++i) {
    if (matchesFilter(map_.registers[i], map_.format.addressBytes, filter)) rows_.push_back(i);
  }
}

std::string RegisterTable::cellText(std::size_t row, Column column) const {
  const std::size_t index = registerAt(row);
  const Register& reg = map_.registers[index];
  const RegisterState& state = states_[index];
  switch (column) {
    case Column::Address:
      return addressHex(reg.address, map_.format.addressBytes);
    case Column::Name:
      return reg.name;
    case Column::Width:
      return std::to_string(8 * reg.valueBytes);
    case Column::Access:
      return std::string(accessText(reg.access));
    case Column::Value: {
      const auto shown = reg.readable() ? state.value : state.written;
      return shown ? valueHex(*shown, reg.valueBytes) : std::string();
    }
    case Column::Default:
      return reg.defaultValue ? valueHex(*reg.defaultValue, reg.valueBytes) : std::string();
    case Column::Mark:
      return markText(index);
  }
  return {};
}

Marks RegisterTable::marks(std::size_t index) const {
  const Register& reg = map_.registers.at(index);
  const RegisterState& state = states_.at(index);
  Marks marks;
  marks.differsFromDefault = state.value && reg.defaultValue && *state.value != *reg.defaultValue;
  marks.changedByLastRead = state.value && state.previous && *state.value != *state.previous;
  marks.notStuck = state.notStuck.has_value();
  marks.readFailed = state.readFailed;
  marks.differsInComparison = compared_[index];
  marks.writtenElsewhere = state.writtenElsewhere;
  return marks;
}

std::string RegisterTable::markText(std::size_t index) const {
  const Marks m = marks(index);
  std::string text;
  auto add = [&](bool set, const char* letter) {
    if (!set) return;
    if (!text.empty()) text += ' ';
    text += letter;
  };
  add(m.differsFromDefault, "D");
  add(m.changedByLastRead, "C");
  add(m.notStuck, "!");
  add(m.readFailed, "?");
  add(m.differsInComparison, "S");
  add(m.writtenElsewhere, "W");
  return text;
}

std::string RegisterTable::markExplanation(std::size_t index) const {
  const Register& reg = map_.registers.at(index);
  const RegisterState& state = states_.at(index);
  const Marks m = marks(index);
  std::vector<std::string> lines;
  if (m.differsFromDefault) {
    lines.push_back("D: differs from its default " + valueHex(*reg.defaultValue, reg.valueBytes));
  }
  if (m.changedByLastRead) {
    lines.push_back("C: the last read changed it from " +
                    valueHex(*state.previous, reg.valueBytes));
  }
  if (m.notStuck) {
    lines.push_back("!: " + valueHex(*state.notStuck, reg.valueBytes) +
                    " was written but did not stick");
  }
  if (m.readFailed) lines.push_back("?: the last read was not acknowledged");
  if (m.differsInComparison) lines.push_back("S: differs in the comparison");
  if (m.writtenElsewhere) {
    lines.push_back(state.elsewhereValue
                        ? "W: another command wrote " +
                              valueHex(*state.elsewhereValue, reg.valueBytes) + " since it was read"
                        : "W: another command wrote to it since it was read");
  }
  std::string text;
  for (const std::string& line : lines) text += (text.empty() ? "" : "\n") + line;
  return text;
}

void RegisterTable::applyRead(const ReadRun& run, const std::vector<std::uint8_t>& bytes,
                              bool acknowledged) {
  std::size_t at = 0;
  for (std::size_t index = run.first; index < run.first + run.count; ++index) {
    const Register& reg = map_.registers.at(index);
    RegisterState& state = states_[index];
    const auto width = static_cast<std::size_t>(reg.valueBytes);
    state.readFailed = !acknowledged || at + width > bytes.size();
    if (!state.readFailed) {
      state.writtenElsewhere = false;
      state.elsewhereValue.reset();
      state.previous = state.value;
      state.value = i2c::decodeValue(std::span(bytes).subspan(at, width), map_.format.order);
      if (state.notStuck && *state.value == *state.notStuck) state.notStuck.reset();
    }
    at += width;
  }
}

void RegisterTable::applyWrite(std::size_t index, std::uint32_t wanted,
                               std::optional<std::uint32_t> readBack) {
  const Register& reg = map_.registers.at(index);
  RegisterState& state = states_.at(index);
  state.writtenElsewhere = false;
  state.elsewhereValue.reset();
  if (!reg.readable()) {
    state.written = wanted;
    return;
  }
  state.readFailed = !readBack.has_value();
  if (!readBack) return;
  state.previous = state.value;
  state.value = readBack;
  if (*readBack == wanted) {
    state.notStuck.reset();
  } else {
    state.notStuck = wanted;
  }
}

bool RegisterTable::applyWriteElsewhere(std::uint32_t first, std::span<const std::uint8_t> bytes) {
  const std::uint64_t end = std::uint64_t{first} + bytes.size();
  bool touched = false;
  for (std::size_t index = 0; index < map_.registers.size(); ++index) {
    const Register& reg = map_.registers[index];
    if (reg.end() <= first || reg.address >= end) continue;
    RegisterState& state = states_[index];
    touched = true;
    state.writtenElsewhere = true;
    state.elsewhereValue.reset();
    if (reg.address >= first && reg.end() <= end) {
      state.elsewhereValue = i2c::decodeValue(
          bytes.subspan(reg.address - first, static_cast<std::size_t>(reg.valueBytes)),
          map_.format.order);
      if (!reg.readable()) state.written = state.elsewhereValue;
    }
  }
  return touched;
}

std::vector<RegisterValue> RegisterTable::liveValues() const {
  std::vector<RegisterValue> values;
  for (std::size_t i = 0; i < map_.registers.size(); ++i) {
    const Register& reg = map_.registers[i];
    if (states_[i].value) {
      values.push_back({reg.address, reg.name, reg.valueBytes, *states_[i].value});
    }
  }
  return values;
}

Snapshot RegisterTable::snapshot(const std::string& time, std::optional<std::uint8_t> device) const {
  Snapshot snapshot;
  snapshot.device = map_.deviceName;
  snapshot.deviceAddress = device;
  snapshot.addressBytes = map_.format.addressBytes;
  snapshot.order = map_.format.order;
  snapshot.time = time;
  snapshot.values = liveValues();
  return snapshot;
}

void RegisterTable::setComparison(const std::vector<Difference>& differences) {
  std::fill(compared_.begin(), compared_.end(), false);
  for (const Difference& difference : differences) {
    if (const auto index = map_.indexOfAddress(difference.address)) compared_[*index] = true;
  }
}

}  // namespace brelvion::registers
