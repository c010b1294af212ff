#include "windowlogic/SingleRegister.h"

#include <vector>

#include "core/RegisterCommands.h"
#include "numconv/HexByteValue.h"
#include "numconv/HexText.h"

namespace brelvion::windowlogic {

void sendRegister(bus::BusMaster& master, i2c::AfterMessage pointerThen,
                  commandfiles::RegisterFields& fields, RegisterPanel& panel) {
  panel.initDeviceMonitor();
  fields.deviceAddress = numconv::hexByteValue(panel.deviceAddressText());
  fields.subAddress = numconv::hexByteValue(panel.subAddressText());
  fields.writeData = numconv::hexByteValue(panel.writeDataText());
  core::writeByteRegister(master, static_cast<std::uint8_t>(fields.deviceAddress),
                          static_cast<std::uint8_t>(fields.subAddress),
                          static_cast<std::uint8_t>(fields.writeData));
  const bool acknowledged = readBackRegister(master, pointerThen, fields, panel);
  panel.updateDeviceMonitor(acknowledged);
}

bool readBackRegister(bus::BusMaster& master, i2c::AfterMessage pointerThen,
                      commandfiles::RegisterFields& fields, RegisterPanel& panel) {
  panel.setReadBackText("");
  panel.initDeviceMonitor();
  // Two bytes go over the bus, the field shows the first: a script saved from the record
  // expects only what the user saw.
  const bus::RegisterRead read =
      core::readByteRegisters(master, pointerThen, static_cast<std::uint8_t>(fields.deviceAddress),
                              static_cast<std::uint8_t>(fields.subAddress), 2, 1);
  fields.deviceAddress = static_cast<std::int16_t>(fields.deviceAddress | 1);
  // An adapter that refused the read returned no byte: the field stays empty.
  if (!read.bytes.empty()) panel.setReadBackText(numconv::upperHex(read.bytes[0]));
  const bool acknowledged = read.transfer.lastAcknowledged();
  panel.updateDeviceMonitor(acknowledged);
  return acknowledged;
}

}  // namespace brelvion::windowlogic
