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
  values.FileEdited = false;
  view.InitDeviceMonitor();
  view.InitScrollArea();
  view.initDelayFields();
  view.fillPortList();
  core.ports().PortIndex = options.startPort;
  fields.DeviceAddress = AddressFieldValue(view.deviceAddressText());
  fields.SubAddress = AddressFieldValue(view.subAddressText());
  fields.WriteData = 0;
}

void startBus(core::ToolCore& core, LoadView& view, const LoadOptions& options) {
  if (core.hasLines()) core.engine().setBusDelay(kStartBusDelay);
  core.master().OpenBus(core.ports().PortIndex, 1);
  core.master().InitPort(core::kAckTimeout);
  if (options.onBusCleared) options.onBusCleared();
  core.log().DebuggerOn();
  view.showWindow();
  core.log().debuggerState().StopOnError = false;
  core.log().debuggerState().TraceBufferSize = kStartTraceBufferSize;
  core.master().CloseBus();
  core.ports().BusOpen = 0;
}

}  // namespace

void StartUp(core::ToolCore& core, commandfiles::RegisterFields& fields, LoadView& view,
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
