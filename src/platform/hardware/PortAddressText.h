#pragma once

#include <cstdint>
#include <cstdio>
#include <string>

namespace brelvion::platform {

// An I/O address the way users know it from their BIOS and jumper settings: "0x378".
inline std::string portAddressText(std::uint64_t address) {
  char text[24];
  std::snprintf(text, sizeof text, "0x%llX", static_cast<unsigned long long>(address));
  return text;
}

}  // namespace brelvion::platform
