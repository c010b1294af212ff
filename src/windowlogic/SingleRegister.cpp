#include "windowlogic/SingleRegister.h"

#include <vector>

#include "core/RegisterCommands.h"
#include "numconv/HexByteValue.h"
#include "numconv/HexText.h"

namespace brelvion::windowlogic {

void SendRegister(core::ToolCore& core, RegisterPanel& panel) {
  core::ProgramValues& values = core.values();
  panel.InitDeviceMonitor();
  values.DeviceAddress = numconv::HexByteValue(panel.deviceAddressText());
  values.SubAddress = numconv::HexByteValue(panel.subAddressText());
  values.WriteData = numconv::HexByteValue(panel.writeDataText());
  core::writeByteRegister(core, static_cast<std::uint8_t>(values.DeviceAddress),
                          static_cast<std::uint8_t>(values.SubAddress),
                          static_cast<std::uint8_t>(values.WriteData));
  const bool acknowledged = ReadBackRegister(core, panel);
  panel.UpdateDeviceMonitor(acknowledged);
}

bool ReadBackRegister(core::ToolCore& core, RegisterPanel& panel) {
  core::ProgramValues& values = core.values();
  panel.setReadBackText("");
  panel.InitDeviceMonitor();
  // Two bytes go over the bus, the field shows the first: a script saved from the record
  // expects only what the user saw.
  const bus::RegisterRead read =
      core::readByteRegisters(core, static_cast<std::uint8_t>(values.DeviceAddress),
                              static_cast<std::uint8_t>(values.SubAddress), 2, 1);
  values.DeviceAddress = static_cast<std::int16_t>(values.DeviceAddress | 1);
  // An adapter that refused the read returned no byte: the field stays empty.
  if (!read.bytes.empty()) panel.setReadBackText(numconv::UpperHex(read.bytes[0]));
  const bool acknowledged = read.transfer.lastAcknowledged();
  panel.UpdateDeviceMonitor(acknowledged);
  return acknowledged;
}

}  // namespace brelvion::windowlogic
