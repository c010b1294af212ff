#pragma once

#include <string>

#include "registers/RegisterMap.h"

namespace brelvion::registers {

// A device description in its YAML form (docs/guide/register-maps.md and data/ hold the
// format and an example) as a register map. Every mistake is an error 321 naming
// file, line and column and what is wrong: YAML that does not parse, an unknown or
// repeated key, a missing or malformed value, two registers of one name or address,
// registers that overlap, a field outside its register, a default or named value wider
// than its place. Nothing is returned then: a map is loaded whole or not at all.
RegisterMap readDescription(const std::string& text, const std::string& file);

}  // namespace brelvion::registers
