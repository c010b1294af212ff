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

std::string adapterItemText(const port::i2cdev::I2cAdapterInfo& adapter) {
  std::string text = "I2C-" + std::to_string(adapter.number);
  if (!adapter.name.empty()) text += ", " + adapter.name;
  return text;
}

std::optional<port::PortChoice> PortChoiceOfRow(
    int row, const std::string& itemText,
    const std::vector<port::i2cdev::I2cAdapterInfo>& adapters) {
  const int lptRows = static_cast<int>(kPortItems.size());
  if (row < lptRows) {
    const auto index = PortIndexOfItem(itemText);
    if (!index) return std::nullopt;
    return port::PortChoice::lpt(*index);
  }
  const auto adapter = static_cast<std::size_t>(row - lptRows);
  if (adapter >= adapters.size()) return std::nullopt;
  return port::PortChoice::i2cDev(adapters[adapter].number);
}

std::string adapterBusNotice(const std::string& adapterDescription) {
  return "I2C adapter " + adapterDescription + " (i2c-dev)";
}

}  // namespace brelvion::windowlogic
