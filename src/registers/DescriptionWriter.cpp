#include "registers/DescriptionWriter.h"

#include <yaml-cpp/yaml.h>

namespace brelvion::registers {

namespace {

// Zero-padded to bytes: a register address to its address bytes, a value to its own.
std::string hexNumber(std::uint32_t value, int bytes) { return "0x" + valueHex(value, bytes); }

void emitField(YAML::Emitter& out, const Field& field) {
  out << YAML::BeginMap;
  out << YAML::Key << "name" << YAML::Value << YAML::DoubleQuoted << field.name;
  const std::string bits = field.msb == field.lsb
                               ? std::to_string(field.msb)
                               : std::to_string(field.msb) + ":" + std::to_string(field.lsb);
  out << YAML::Key << "bits" << YAML::Value << bits;
  if (!field.description.empty()) {
    out << YAML::Key << "description" << YAML::Value << YAML::DoubleQuoted << field.description;
  }
  if (!field.values.empty()) {
    out << YAML::Key << "values" << YAML::Value << YAML::BeginMap;
    for (const NamedValue& named : field.values) {
      out << YAML::Key << YAML::DoubleQuoted << named.name << YAML::Value << named.value;
    }
    out << YAML::EndMap;
  }
  out << YAML::EndMap;
}

void emitRegister(YAML::Emitter& out, const Register& reg, const RegisterMap& map) {
  out << YAML::BeginMap;
  out << YAML::Key << "name" << YAML::Value << YAML::DoubleQuoted << reg.name;
  out << YAML::Key << "address" << YAML::Value << hexNumber(reg.address, map.format.addressBytes);
  if (reg.valueBytes != map.format.valueBytes) {
    out << YAML::Key << "width" << YAML::Value << 8 * reg.valueBytes;
  }
  if (reg.access != Access::ReadWrite) {
    out << YAML::Key << "access" << YAML::Value << std::string(accessText(reg.access));
  }
  if (reg.defaultValue) {
    out << YAML::Key << "default" << YAML::Value << hexNumber(*reg.defaultValue, reg.valueBytes);
  }
  if (!reg.description.empty()) {
    out << YAML::Key << "description" << YAML::Value << YAML::DoubleQuoted << reg.description;
  }
  if (!reg.fields.empty()) {
    out << YAML::Key << "fields" << YAML::Value << YAML::BeginSeq;
    for (const Field& field : reg.fields) emitField(out, field);
    out << YAML::EndSeq;
  }
  out << YAML::EndMap;
}

}  // namespace

std::string descriptionText(const RegisterMap& map) {
  YAML::Emitter out;
  out << YAML::BeginMap;
  out << YAML::Key << "device" << YAML::Value << YAML::DoubleQuoted << map.deviceName;
  if (map.deviceAddress) {
    out << YAML::Key << "i2c-address" << YAML::Value << hexNumber(*map.deviceAddress, 1);
  }
  out << YAML::Key << "register-bits" << YAML::Value << 8 * map.format.addressBytes;
  out << YAML::Key << "value-bits" << YAML::Value << 8 * map.format.valueBytes;
  out << YAML::Key << "byte-order" << YAML::Value
      << (map.format.order == i2c::ByteOrder::BigEndian ? "big" : "little");
  if (map.chipId) {
    out << YAML::Key << "chip-id" << YAML::Value << YAML::BeginMap;
    out << YAML::Key << "register" << YAML::Value
        << hexNumber(map.chipId->address, map.format.addressBytes);
    out << YAML::Key << "width" << YAML::Value << 8 * map.chipId->valueBytes;
    out << YAML::Key << "value" << YAML::Value
        << hexNumber(map.chipId->expected, map.chipId->valueBytes);
    out << YAML::EndMap;
  }
  out << YAML::Key << "registers" << YAML::Value << YAML::BeginSeq;
  for (const Register& reg : map.registers) emitRegister(out, reg, map);
  out << YAML::EndSeq;
  out << YAML::EndMap;
  return std::string(out.c_str()) + "\n";
}

}  // namespace brelvion::registers
