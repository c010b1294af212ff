#include "windowlogic/PortList.h"

#include "base/Text.h"

namespace brelvion::windowlogic {

std::optional<std::int16_t> PortIndexOfItem(const std::string& itemText) {
  const std::string name = base::trimmed((itemText + "    ").substr(0, 4));
  if (name == "LPT1") return 0;
  if (name == "LPT2") return 1;
  if (name == "LPT3") return 2;
  return std::nullopt;
}

}  // namespace brelvion::windowlogic
