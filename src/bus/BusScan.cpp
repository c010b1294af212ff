#include "bus/BusScan.h"

#include "i2c/DeviceAddress.h"

namespace brelvion::bus {

ProbeMethod probeMethodFor(std::uint8_t address7) {
  const bool eepromRange =
      (address7 >= 0x30 && address7 <= 0x37) || (address7 >= 0x50 && address7 <= 0x5F);
  return eepromRange ? ProbeMethod::ReadByte : ProbeMethod::QuickWrite;
}

ScanOutcome scanBus(BusMaster& master, ScanRange range, const std::function<bool()>& stop) {
  ScanOutcome outcome;
  if (!master.releaseLinesAndSenseSda()) {
    outcome.sdaHeldLow = true;
    return outcome;
  }
  for (unsigned address7 = range.first7; address7 <= range.last7; ++address7) {
    if (stop && stop()) break;
    i2c::I2cMessage probe;
    probe.address =
        i2c::DeviceAddress::fromSevenBit(static_cast<std::uint8_t>(address7)).writeByte();
    if (probeMethodFor(static_cast<std::uint8_t>(address7)) == ProbeMethod::ReadByte) {
      probe.read = true;
      probe.readLength = 1;
    }
    const i2c::TransferResult result = master.probe({probe});
    if (result.messages[0].outcome == i2c::MessageOutcome::Acknowledged) {
      outcome.answered.push_back(probe.address);
    }
  }
  return outcome;
}

}  // namespace brelvion::bus
