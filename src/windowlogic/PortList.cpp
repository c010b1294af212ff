#include "windowlogic/PortList.h"

#include "base/Text.h"

namespace brelvion::windowlogic {

namespace {

constexpr std::string_view kGpioPrefix = "gpio:";

std::string lineText(const port::gpio::GpioLineName& line) {
  return line.offset ? std::to_string(*line.offset) : line.name;
}

}  // namespace

std::optional<std::int16_t> portIndexOfItem(const std::string& itemText) {
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

std::string gpioItemText(const port::gpio::GpioLinesChoice& lines) {
  // The choice as written, but for the "gpio:" the row's start says already.
  return "GPIO, " + port::gpio::gpioLinesText(lines).substr(kGpioPrefix.size());
}

std::optional<port::PortChoice> portChoiceOfRow(
    int row, const std::string& itemText,
    const std::vector<port::i2cdev::I2cAdapterInfo>& adapters,
    const port::gpio::GpioLinesChoice* gpioLines) {
  const int lptRows = static_cast<int>(kPortItems.size());
  if (row < lptRows) {
    const auto index = portIndexOfItem(itemText);
    if (!index) return std::nullopt;
    return port::PortChoice::lpt(*index);
  }
  const int gpioRows = gpioLines != nullptr ? 1 : 0;
  if (row < lptRows + gpioRows) return port::PortChoice::gpio(*gpioLines);
  const auto adapter = static_cast<std::size_t>(row - lptRows - gpioRows);
  if (adapter >= adapters.size()) return std::nullopt;
  return port::PortChoice::i2cDev(adapters[adapter].number);
}

std::optional<int> rowOfBusInUse(const std::string* adapterName, bool onGpioLines,
                                 const std::vector<port::i2cdev::I2cAdapterInfo>& adapters,
                                 bool gpioRow) {
  const int lptRows = static_cast<int>(kPortItems.size());
  const int gpioRows = gpioRow ? 1 : 0;
  if (adapterName != nullptr) {
    for (std::size_t i = 0; i < adapters.size(); ++i) {
      if (adapters[i].adapterName() == *adapterName) {
        return lptRows + gpioRows + static_cast<int>(i);
      }
    }
    return std::nullopt;
  }
  if (onGpioLines && gpioRow) return lptRows;
  return std::nullopt;
}

std::string adapterBusNotice(const std::string& adapterDescription) {
  return "I2C adapter " + adapterDescription + " (i2c-dev)";
}

std::string gpioBusNotice(const port::gpio::GpioLinesChoice& lines) {
  return "GPIO lines of " + lines.chip + ": SCL " + lineText(lines.scl) + ", SDA " +
         lineText(lines.sda);
}

}  // namespace brelvion::windowlogic
