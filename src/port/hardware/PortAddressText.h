#pragma once

#include <cstdint>
#include <string>

#include "numconv/HexText.h"

namespace brelvion::port::hardware {

// An I/O address the way users know it from their BIOS and jumper settings: "0x378".
inline std::string portAddressText(std::uint64_t address) {
  return "0x" + numconv::upperHex(address);
}

}  // namespace brelvion::port::hardware
