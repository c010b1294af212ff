#pragma once

#include <string>

#include "registers/RegisterMap.h"

namespace brelvion::registers {

// The map as a YAML description that readDescription reads back to the same map: numbers
// in hex, texts quoted, keys that hold their default left out.
std::string descriptionText(const RegisterMap& map);

}  // namespace brelvion::registers
