#include "core/PortSwitch.h"

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

void SelectPort(ToolCore& core, const port::PortChoice& choice, const AdapterFactory& factory) {
  if (const auto* lpt = choice.lptPort()) {
    core.ports().PortIndex = lpt->index;
    core.useAdapter(nullptr);
    return;
  }
  core.useAdapter(factory(choice));
}

void SwitchPort(ToolCore& core, const port::PortChoice& choice, const AdapterFactory& factory) {
  if (core.ports().BusOpen == 1) {
    core.engine().CloseBus();
    core.ports().BusOpen = 0;
  }
  SelectPort(core, choice, factory);
  core.StartBus();
}

}  // namespace brelvion::core
