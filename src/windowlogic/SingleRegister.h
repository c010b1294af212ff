#pragma once

#include <string>

#include "bus/BusMaster.h"
#include "commandfiles/RegisterFields.h"
#include "windowlogic/DeviceMonitor.h"

namespace brelvion::windowlogic {

// The single-register panel as Send Register sees it: the three hexadecimal fields, the
// read-back field and the acknowledge indicator.
class RegisterPanel : public DeviceMonitor {
 public:
  virtual std::string deviceAddressText() const = 0;          // Text2
  virtual std::string subAddressText() const = 0;             // Text3
  virtual std::string writeDataText() const = 0;              // Text4
  virtual void setReadBackText(const std::string& text) = 0;  // txtRRead
};

// "Send Register" on master: reads the panel's three fields into fields, writes the
// register, reads it back into the read-back field and shows the acknowledge of the
// read's address byte. Three transactions; none stops early on a missing acknowledge.
void sendRegister(bus::BusMaster& master, i2c::AfterMessage pointerThen,
                  commandfiles::RegisterFields& fields, RegisterPanel& panel);

// Sets the register pointer to subAddress, reads two bytes and shows the first in
// upper-case hex without leading zeros (pointerThen between them); nothing when an adapter
// returned no byte. Leaves DeviceAddress with bit 0 set, as the read sent it. True when the
// read's address was acknowledged.
bool readBackRegister(bus::BusMaster& master, i2c::AfterMessage pointerThen,
                      commandfiles::RegisterFields& fields, RegisterPanel& panel);

}  // namespace brelvion::windowlogic
