#include "windowlogic/SingleRegister.h"

#include <vector>

#include "numconv/HexByteValue.h"
#include "numconv/HexText.h"

namespace brelvion::windowlogic {

void SendRegister(core::ToolCore& core, RegisterPanel& panel) {
  core::ProgramValues& values = core.values();
  panel.InitDeviceMonitor();
  values.DeviceAddress = numconv::HexByteValue(panel.deviceAddressText());
  values.SubAddress = numconv::HexByteValue(panel.subAddressText());
  values.WriteData = numconv::HexByteValue(panel.writeDataText());
  {
    const bus::NotedCommand noted(core.engine().record(), bus::kByteRegisterCommand);
    core.engine().WriteRegister(values.DeviceAddress, values.SubAddress, values.WriteData);
  }
  ReadBackRegister(core, panel);
  panel.UpdateDeviceMonitor();
}

void ReadBackRegister(core::ToolCore& core, RegisterPanel& panel) {
  core::ProgramValues& values = core.values();
  panel.setReadBackText("");
  panel.InitDeviceMonitor();
  {
    // Two bytes go over the bus, the field shows the first: a script saved from the record
    // expects only what the user saw.
    const bus::NotedCommand noted(core.engine().record(), {bus::kByteRegisters, 1});
    core.engine().ReadRegisters(values.DeviceAddress, values.SubAddress, 1);
  }
  // An adapter that refused the read returned no byte: the field stays empty.
  const std::vector<std::int16_t>& read = core.busState().ReadBuffer;
  if (!read.empty()) panel.setReadBackText(numconv::UpperHex(static_cast<std::uint16_t>(read[0])));
  panel.UpdateDeviceMonitor();
}

}  // namespace brelvion::windowlogic
