#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "registers/RegisterMap.h"

namespace brelvion::registers {

// The field's bits of a register value, shifted down.
std::uint32_t fieldValue(std::uint32_t registerValue, const Field& field);

// The register value with the field's bits replaced by fieldValue. Throws RuntimeError 5
// for a value wider than the field.
std::uint32_t withFieldValue(std::uint32_t registerValue, const Field& field,
                             std::uint32_t fieldValue);

// The name of the field's value, when it has one.
const NamedValue* namedValueOf(const Field& field, std::uint32_t value);

// "1 (streaming)", "3": a field value with its name.
std::string fieldValueText(const Field& field, std::uint32_t value);

// "7:4", or "0" for a one-bit field.
std::string fieldBitsText(const Field& field);

// The lines the companion prints under a register's value, one a field:
// "  STREAM       bit 0     1 (streaming)".
std::vector<std::string> decodedFieldLines(const Register& reg, std::uint32_t value);

}  // namespace brelvion::registers
