#include "bus/BusScan.h"

#include "port/DeviceAddress.h"

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
    port::I2cMessage probe;
    probe.address =
        port::DeviceAddress::fromSevenBit(static_cast<std::uint8_t>(address7)).writeByte();
    if (probeMethodFor(static_cast<std::uint8_t>(address7)) == ProbeMethod::ReadByte) {
      probe.read = true;
      probe.readLength = 1;
    }
    const port::TransferResult result = master.probe({probe});
    if (result.messages[0].outcome == port::MessageOutcome::Acknowledged) {
      outcome.answered.push_back(probe.address);
    }
  }
  return outcome;
}

}  // namespace brelvion::bus
