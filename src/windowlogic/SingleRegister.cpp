#include "windowlogic/SingleRegister.h"

#include "numconv/HexByteValue.h"
#include "numconv/HexText.h"

namespace brelvion::windowlogic {

void SendRegister(core::ToolCore& core, RegisterPanel& panel) {
  core::ProgramValues& values = core.values();
  panel.InitDeviceMonitor();
  values.DeviceAddress = numconv::HexByteValue(panel.deviceAddressText());
  values.SubAddress = numconv::HexByteValue(panel.subAddressText());
  values.WriteData = numconv::HexByteValue(panel.writeDataText());
  core.engine().WriteRegister(values.DeviceAddress, values.SubAddress, values.WriteData);
  ReadBackRegister(core, panel);
  panel.UpdateDeviceMonitor();
}

void ReadBackRegister(core::ToolCore& core, RegisterPanel& panel) {
  core::ProgramValues& values = core.values();
  panel.setReadBackText("");
  panel.InitDeviceMonitor();
  core.engine().SetRegisterPointer(values.DeviceAddress, values.SubAddress);
  core.engine().ReadSequential(values.DeviceAddress, 1);
  const auto first = static_cast<std::uint16_t>(core.busState().ReadBuffer.at(0));
  panel.setReadBackText(numconv::UpperHex(first));
  panel.UpdateDeviceMonitor();
}

}  // namespace brelvion::windowlogic
