#include "registers/DescriptionReader.h"

#include <yaml-cpp/yaml.h>

#include <functional>
#include <map>
#include <set>

#include "i2c/DeviceAddress.h"
#include "registers/MapChecks.h"
#include "registers/SourceText.h"
#include "registers/YamlDocument.h"

namespace brelvion::registers {

namespace {

// The keys of one YAML mapping, checked against those it may have.
class Keys {
 public:
  Keys(std::map<std::string, YAML::Node> found, std::map<std::string, SourcePosition> where)
      : found_(std::move(found)), where_(std::move(where)) {}

  const YAML::Node* get(const std::string& key) const {
    const auto it = found_.find(key);
    return it == found_.end() ? nullptr : &it->second;
  }
  SourcePosition keyPosition(const std::string& key) const { return where_.at(key); }

 private:
  std::map<std::string, YAML::Node> found_;
  std::map<std::string, SourcePosition> where_;
};

SourcePosition positionOf(const YAML::Mark& mark) {
  if (mark.line < 0 || mark.column < 0) return {};
  return {mark.line + 1, mark.column + 1};
}

class DescriptionParser {
 public:
  explicit DescriptionParser(const std::string& file) : file_(file) {}

  RegisterMap parse(const std::string& text);

 private:
  [[noreturn]] void fail(SourcePosition at, const std::string& what) const {
    throw contentError(file_, at, what);
  }
  [[noreturn]] void fail(const YAML::Node& node, const std::string& what) const {
    fail(positionOf(node.Mark()), what);
  }

  Keys keysOf(const YAML::Node& node, const std::string& what,
              std::initializer_list<const char*> allowed) const;
  std::string scalar(const Keys& keys, const std::string& key, const YAML::Node& node) const;
  std::uint32_t number(const Keys& keys, const std::string& key) const;
  std::string text(const Keys& keys, const std::string& key, bool multiLine) const;

  void readDevice(const Keys& top, RegisterMap& map) const;
  Register readRegister(const YAML::Node& node, const RegisterMap& map) const;
  Field readField(const YAML::Node& node, const Register& reg) const;
  void readFieldBits(const Keys& keys, Field& field) const;
  std::vector<NamedValue> readNamedValues(const YAML::Node& node) const;
  void readRegisters(const YAML::Node& list, RegisterMap& map) const;
  ChipIdCheck readChipId(const YAML::Node& node, const RegisterMap& map) const;

  const std::string& file_;
};

Keys DescriptionParser::keysOf(const YAML::Node& node, const std::string& what,
                               std::initializer_list<const char*> allowed) const {
  if (!node.IsMap()) fail(node, what + " is a mapping of keys and values");
  std::map<std::string, YAML::Node> found;
  std::map<std::string, SourcePosition> where;
  for (auto it = node.begin(); it != node.end(); ++it) {
    const YAML::Node key = it->first;
    if (!key.IsScalar()) fail(key, "a key of " + what + " is a plain word");
    const std::string& name = key.Scalar();
    bool known = false;
    for (const char* candidate : allowed) known = known || name == candidate;
    if (!known) {
      std::string list;
      for (const char* candidate : allowed) list += (list.empty() ? "" : ", ") + std::string(candidate);
      fail(key, "unknown key '" + name + "' in " + what + " (known keys: " + list + ")");
    }
    if (found.count(name) != 0) {
      fail(key, "key '" + name + "' is given twice in " + what + " (first at line " +
                    std::to_string(where.at(name).line) + ")");
    }
    found.emplace(name, it->second);
    where.emplace(name, positionOf(key.Mark()));
  }
  return Keys(std::move(found), std::move(where));
}

std::string DescriptionParser::scalar(const Keys& keys, const std::string& key,
                                      const YAML::Node& node) const {
  if (node.IsNull()) fail(keys.keyPosition(key), key + " wants a value");
  if (!node.IsScalar()) fail(node, key + " wants a single value, not a list or mapping");
  return node.Scalar();
}

std::uint32_t DescriptionParser::number(const Keys& keys, const std::string& key) const {
  const YAML::Node& node = *keys.get(key);
  const std::string value = scalar(keys, key, node);
  const auto parsed = numberFromText(value);
  if (!parsed) {
    fail(node, key + " wants a number (decimal, 0x1F or 1Fh) of up to 32 bits, not '" + value + "'");
  }
  return *parsed;
}

std::string DescriptionParser::text(const Keys& keys, const std::string& key,
                                    bool multiLine) const {
  const YAML::Node& node = *keys.get(key);
  if (multiLine && node.IsNull()) return {};
  std::string value = scalar(keys, key, node);
  if (!plainText(value, multiLine)) {
    fail(node, key + " holds a control character or text that is not UTF-8");
  }
  return value;
}

RegisterMap DescriptionParser::parse(const std::string& text) {
  const YAML::Node root = loadOneDocument(text, file_);
  const Keys top = keysOf(root, "the description",
                          {"device", "i2c-address", "register-bits", "value-bits", "byte-order",
                           "chip-id", "registers"});
  RegisterMap map;
  readDevice(top, map);
  const YAML::Node* registers = top.get("registers");
  if (registers == nullptr) fail(root, "the description has no 'registers' list");
  readRegisters(*registers, map);
  if (const YAML::Node* chip = top.get("chip-id")) map.chipId = readChipId(*chip, map);
  return map;
}

void DescriptionParser::readDevice(const Keys& top, RegisterMap& map) const {
  if (top.get("device") == nullptr) fail(SourcePosition{}, "the description has no 'device' name");
  map.deviceName = text(top, "device", false);
  if (map.deviceName.empty()) fail(top.keyPosition("device"), "device wants a name");
  if (top.get("i2c-address")) {
    const std::uint32_t address = number(top, "i2c-address");
    const auto parsed = i2c::DeviceAddress::fromNumber(address, i2c::AddressForm::EightBit);
    if (!parsed || parsed->readBit) {
      fail(*top.get("i2c-address"),
           "i2c-address is the 8-bit write address, even and at most 0xFE, not " +
               valueHex(address, 0) + "h");
    }
    map.deviceAddress = parsed->device.writeByte();
  }
  if (top.get("register-bits")) {
    const std::uint32_t bits = number(top, "register-bits");
    if (bits != 0 && bits != 8 && bits != 16) {
      fail(*top.get("register-bits"), "register-bits is 0, 8 or 16, not " + std::to_string(bits));
    }
    map.format.addressBytes = static_cast<int>(bits) / 8;
  }
  if (top.get("value-bits")) {
    const std::uint32_t bits = number(top, "value-bits");
    if (auto problem = widthProblem(bits)) fail(*top.get("value-bits"), "value-bits: " + *problem);
    map.format.valueBytes = static_cast<int>(bits) / 8;
  }
  if (top.get("byte-order")) {
    const std::string order = scalar(top, "byte-order", *top.get("byte-order"));
    if (order != "big" && order != "little") {
      fail(*top.get("byte-order"), "byte-order is big or little, not '" + order + "'");
    }
    map.format.order = order == "big" ? i2c::ByteOrder::BigEndian : i2c::ByteOrder::LittleEndian;
  }
}

void DescriptionParser::readRegisters(const YAML::Node& list, RegisterMap& map) const {
  if (!list.IsSequence()) fail(list, "registers is a list ('- name: ...' for each register)");
  if (list.size() == 0) fail(list, "the registers list is empty");
  std::vector<int> lines;
  for (const YAML::Node& item : list) {
    map.registers.push_back(readRegister(item, map));
    lines.push_back(positionOf(item.Mark()).line);
  }
  if (const auto clash = findClash(map.registers)) {
    fail(list[clash->later],
         clashText(*clash, map.registers, map.format.addressBytes, lines[clash->earlier]));
  }
  sortByAddress(map.registers);
}

Register DescriptionParser::readRegister(const YAML::Node& node, const RegisterMap& map) const {
  const Keys keys = keysOf(node, "a register",
                           {"name", "address", "width", "access", "default", "description", "fields"});
  Register reg;
  if (!keys.get("name")) fail(node, "a register without a name");
  reg.name = text(keys, "name", false);
  if (!validName(reg.name)) {
    fail(*keys.get("name"), "register name '" + reg.name +
                                "' is not a name (a letter or _, then letters, digits and _)");
  }
  if (!keys.get("address")) fail(node, "register " + reg.name + " has no address");
  reg.address = number(keys, "address");
  reg.valueBytes = map.format.valueBytes;
  if (keys.get("width")) {
    const std::uint32_t width = number(keys, "width");
    if (auto problem = widthProblem(width)) fail(*keys.get("width"), *problem);
    reg.valueBytes = static_cast<int>(width) / 8;
  }
  if (auto problem = placeProblem(reg, map.format.addressBytes)) {
    fail(*keys.get("address"), *problem);
  }
  if (keys.get("access")) {
    const std::string access = scalar(keys, "access", *keys.get("access"));
    const auto parsed = accessFromText(access);
    if (!parsed) fail(*keys.get("access"), "access is rw, ro or wo, not '" + access + "'");
    reg.access = *parsed;
  }
  if (keys.get("default")) {
    reg.defaultValue = number(keys, "default");
    if (auto problem = valueProblem("default", *reg.defaultValue, 8 * reg.valueBytes)) {
      fail(*keys.get("default"), "register " + reg.name + ": " + *problem);
    }
  }
  if (keys.get("description")) reg.description = text(keys, "description", true);
  if (const YAML::Node* fields = keys.get("fields")) {
    if (!fields->IsSequence()) fail(*fields, "fields is a list ('- name: ...' for each field)");
    for (const YAML::Node& item : *fields) reg.fields.push_back(readField(item, reg));
    if (const auto clash = findFieldClash(reg.fields)) fail((*fields)[clash->later], clash->what);
  }
  return reg;
}

Field DescriptionParser::readField(const YAML::Node& node, const Register& reg) const {
  const Keys keys = keysOf(node, "a field", {"name", "bits", "description", "values"});
  Field field;
  if (!keys.get("name")) fail(node, "a field of " + reg.name + " without a name");
  field.name = text(keys, "name", false);
  if (!validName(field.name)) {
    fail(*keys.get("name"), "field name '" + field.name +
                                "' is not a name (a letter or _, then letters, digits and _)");
  }
  if (!keys.get("bits")) fail(node, "field " + field.name + " has no bits");
  readFieldBits(keys, field);
  if (keys.get("description")) field.description = text(keys, "description", true);
  if (const YAML::Node* values = keys.get("values")) field.values = readNamedValues(*values);
  if (auto problem = fieldBitsProblem(field, reg.valueBytes)) {
    fail(*keys.get("bits"), "register " + reg.name + ": " + *problem);
  }
  if (auto problem = namedValuesProblem(field)) {
    fail(*keys.get("values"), "register " + reg.name + ": " + *problem);
  }
  return field;
}

void DescriptionParser::readFieldBits(const Keys& keys, Field& field) const {
  const YAML::Node& node = *keys.get("bits");
  const std::string bits = scalar(keys, "bits", node);
  const std::size_t colon = bits.find(':');
  const auto high = numberFromText(bits.substr(0, colon));
  const auto low = colon == std::string::npos ? high : numberFromText(bits.substr(colon + 1));
  if (!high || !low || *high > 31 || *low > 31) {
    fail(node, "bits is one bit (5) or a range high:low (7:4) of bits 0 to 31, not '" + bits + "'");
  }
  field.msb = static_cast<int>(*high);
  field.lsb = static_cast<int>(*low);
}

std::vector<NamedValue> DescriptionParser::readNamedValues(const YAML::Node& node) const {
  if (!node.IsMap()) fail(node, "values is a mapping of names to values (streaming: 1)");
  std::vector<NamedValue> values;
  for (auto it = node.begin(); it != node.end(); ++it) {
    const YAML::Node name = it->first;
    const YAML::Node value = it->second;
    if (!name.IsScalar() || name.Scalar().empty() || !plainText(name.Scalar(), false)) {
      fail(name, "a value's name is a word or a line of text");
    }
    if (!value.IsScalar()) fail(value.IsNull() ? name : value, name.Scalar() + " wants a number");
    const auto parsed = numberFromText(value.Scalar());
    if (!parsed) {
      fail(value, name.Scalar() + " wants a number (decimal, 0x1F or 1Fh), not '" +
                      value.Scalar() + "'");
    }
    values.push_back({name.Scalar(), *parsed});
  }
  return values;
}

ChipIdCheck DescriptionParser::readChipId(const YAML::Node& node, const RegisterMap& map) const {
  const Keys keys = keysOf(node, "chip-id", {"register", "width", "value"});
  if (!keys.get("register")) fail(node, "chip-id names no register");
  if (!keys.get("value")) fail(node, "chip-id gives no value");
  ChipIdCheck check;
  check.valueBytes = map.format.valueBytes;
  const std::string named = scalar(keys, "register", *keys.get("register"));
  if (const auto address = numberFromText(named)) {
    check.address = *address;
  } else if (const Register* reg = map.findByName(named)) {
    check.address = reg->address;
    check.valueBytes = reg->valueBytes;
  } else {
    fail(*keys.get("register"), "chip-id register '" + named + "' is no register of the list");
  }
  if (keys.get("width")) {
    const std::uint32_t width = number(keys, "width");
    if (auto problem = widthProblem(width)) fail(*keys.get("width"), *problem);
    check.valueBytes = static_cast<int>(width) / 8;
  }
  Register place;
  place.address = check.address;
  place.valueBytes = check.valueBytes;
  if (auto problem = placeProblem(place, map.format.addressBytes)) {
    fail(*keys.get("register"), *problem);
  }
  const Register* reg = map.findByAddress(check.address);
  if (reg != nullptr && !reg->readable()) {
    fail(*keys.get("register"), "chip-id register " + reg->name + " is write-only");
  }
  check.expected = number(keys, "value");
  if (auto problem = valueProblem("chip-id value", check.expected, 8 * check.valueBytes)) {
    fail(*keys.get("value"), *problem);
  }
  return check;
}

}  // namespace

RegisterMap readDescription(const std::string& text, const std::string& file) {
  return DescriptionParser(file).parse(text);
}

}  // namespace brelvion::registers
