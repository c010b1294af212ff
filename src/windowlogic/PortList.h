#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string>

namespace brelvion::windowlogic {

// The port list's items, at positions 0, 1 and 2: the port's name, then its base address
// for the user to see.
inline constexpr std::array<const char*, 3> kPortItems{"LPT1, H378", "LPT2, H278", "LPT3, H3BC"};

// The PortIndex an item names: only its first four characters count, blanks around them
// removed, compared case-sensitively with "LPT1", "LPT2" and "LPT3". No value for any
// other text: the port stays as it was.
std::optional<std::int16_t> PortIndexOfItem(const std::string& itemText);

}  // namespace brelvion::windowlogic
