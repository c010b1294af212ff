#include "windowlogic/PortList.h"

namespace brelvion::windowlogic {

std::optional<std::int16_t> PortIndexOfItem(const std::string& itemText) {
  std::string name = (itemText + "    ").substr(0, 4);
  name.erase(name.find_last_not_of(' ') + 1);
  name.erase(0, name.find_first_not_of(' '));
  if (name == "LPT1") return 0;
  if (name == "LPT2") return 1;
  if (name == "LPT3") return 2;
  return std::nullopt;
}

}  // namespace brelvion::windowlogic
