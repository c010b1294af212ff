#include "windowlogic/FormLoad.h"

#include "core/BusCommandGuard.h"
#include "core/StartBus.h"
#include "desktop/ErrorBox.h"
#include "desktop/ErrorTrap.h"
#include "windowlogic/FieldValues.h"

namespace brelvion::windowlogic {

namespace {

constexpr double kStartTraceBufferSize = 10;

void setDefaults(core::ToolCore& core, commandfiles::RegisterFields& fields, LoadView& view,
                 const LoadOptions& options) {
  core::ProgramValues& values = core.values();
  values.fileEdited = false;
  view.initDeviceMonitor();
  view.initScrollArea();
  view.initDelayFields();
  view.fillPortList();
  core.ports().portIndex = options.startPort;
  fields.deviceAddress = addressFieldValue(view.deviceAddressText());
  fields.subAddress = addressFieldValue(view.subAddressText());
  fields.writeData = 0;
}

void startBus(core::ToolCore& core, LoadView& view, const LoadOptions& options) {
  if (core.hasLines()) core.engine().setBusDelay(kStartBusDelay);
  core.master().openBus(core.ports().portIndex, 1);
  core.master().initPort(core::kAckTimeout);
  if (options.onBusCleared) options.onBusCleared();
  core.log().debuggerOn();
  view.showWindow();
  core.log().debuggerState().stopOnError = false;
  core.log().debuggerState().traceBufferSize = kStartTraceBufferSize;
  core.master().closeBus();
  core.ports().busOpen = 0;
}

}  // namespace

void startUp(core::ToolCore& core, commandfiles::RegisterFields& fields, LoadView& view,
             const LoadOptions& options) {
  try {
    // The start-up's own log messages yield; a click handled then must not reach the bus.
    core::runBusCommand(core, [&] {
      setDefaults(core, fields, view, options);
      startBus(core, view, options);
    });
    core.desktop().processPendingEvents();
  } catch (...) {
    const base::RuntimeError error = desktop::currentError();
    desktop::showErrorBox(core.desktop(), error, kFormLoadTitle, desktop::MessageIcon::Exclamation);
  }
}

}  // namespace brelvion::windowlogic
