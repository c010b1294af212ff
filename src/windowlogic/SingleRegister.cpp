#include "windowlogic/SingleRegister.h"

#include <vector>

#include "core/RegisterCommands.h"
#include "numconv/HexByteValue.h"
#include "numconv/HexText.h"

namespace brelvion::windowlogic {

void SendRegister(bus::BusMaster& master, port::AfterMessage pointerThen,
                  commandfiles::RegisterFields& fields, RegisterPanel& panel) {
  panel.InitDeviceMonitor();
  fields.DeviceAddress = numconv::HexByteValue(panel.deviceAddressText());
  fields.SubAddress = numconv::HexByteValue(panel.subAddressText());
  fields.WriteData = numconv::HexByteValue(panel.writeDataText());
  core::writeByteRegister(master, static_cast<std::uint8_t>(fields.DeviceAddress),
                          static_cast<std::uint8_t>(fields.SubAddress),
                          static_cast<std::uint8_t>(fields.WriteData));
  const bool acknowledged = ReadBackRegister(master, pointerThen, fields, panel);
  panel.UpdateDeviceMonitor(acknowledged);
}

bool ReadBackRegister(bus::BusMaster& master, port::AfterMessage pointerThen,
                      commandfiles::RegisterFields& fields, RegisterPanel& panel) {
  panel.setReadBackText("");
  panel.InitDeviceMonitor();
  // Two bytes go over the bus, the field shows the first: a script saved from the record
  // expects only what the user saw.
  const bus::RegisterRead read =
      core::readByteRegisters(master, pointerThen, static_cast<std::uint8_t>(fields.DeviceAddress),
                              static_cast<std::uint8_t>(fields.SubAddress), 2, 1);
  fields.DeviceAddress = static_cast<std::int16_t>(fields.DeviceAddress | 1);
  // An adapter that refused the read returned no byte: the field stays empty.
  if (!read.bytes.empty()) panel.setReadBackText(numconv::UpperHex(read.bytes[0]));
  const bool acknowledged = read.transfer.lastAcknowledged();
  panel.UpdateDeviceMonitor(acknowledged);
  return acknowledged;
}

}  // namespace brelvion::windowlogic
