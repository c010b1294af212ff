#include "core/PortSwitch.h"

#include "base/RuntimeError.h"
#include "port/i2cdev/I2cDevAdapter.h"

namespace brelvion::core {

AdapterFactory systemAdapters(port::i2cdev::I2cDevSystemCalls& calls) {
  return [&calls](const port::PortChoice& choice) -> std::unique_ptr<port::BusAdapter> {
    if (const auto* adapter = choice.i2cDevAdapter()) {
      return std::make_unique<port::i2cdev::I2cDevAdapter>(adapter->number, calls);
    }
    return nullptr;
  };
}

LinesLookup gpioLinesFor(port::gpio::GpioLines& lines) {
  return [&lines](const port::PortChoice& choice) -> port::BitLines* {
    const port::gpio::GpioLinesChoice* wanted = choice.gpioLines();
    return wanted != nullptr && *wanted == lines.choice() ? &lines : nullptr;
  };
}

void selectPort(ToolCore& core, const port::PortChoice& choice, const AdapterFactory& factory,
                const LinesLookup& lines) {
  if (const auto* lpt = choice.lptPort()) {
    core.ports().portIndex = lpt->index;
    core.useAdapter(nullptr);
    core.useLines(nullptr);
    return;
  }
  if (choice.gpioLines() != nullptr) {
    port::BitLines* found = lines ? lines(choice) : nullptr;
    if (found == nullptr) {
      throw base::RuntimeError(base::RuntimeError::kFileNotFound, "SelectPort",
                               "No GPIO lines were opened for " + choice.name());
    }
    core.useAdapter(nullptr);
    core.useLines(found);
    return;
  }
  core.useAdapter(factory(choice));
  core.useLines(nullptr);
}

void switchPort(ToolCore& core, const port::PortChoice& choice, const AdapterFactory& factory,
                const LinesLookup& lines) {
  if (core.ports().busOpen == 1) {
    core.master().closeBus();
    core.ports().busOpen = 0;
  }
  selectPort(core, choice, factory, lines);
  core.startBus();
}

}  // namespace brelvion::core
