#include "bus/LptCable.h"

namespace brelvion::bus {

void LptCable::choosePort(std::int16_t index) {
  if (index < 0 || index >= static_cast<std::int16_t>(port::kLptBases.size())) return;
  const std::uint16_t base = port::kLptBases[static_cast<std::size_t>(index)];
  dataPort_ = base;
  statusPort_ = static_cast<std::uint16_t>(base + 1);
  controlPort_ = static_cast<std::uint16_t>(base + 2);
}

void LptCable::openBus(std::int16_t portIndex) {
  choosePort(portIndex);
  savedControl_ = port_.inpb(controlPort_);
}

void LptCable::closeBus() {
  port_.out(controlPort_, savedControl_);
  port_.out(dataPort_, kDataSdaHigh);
}

}  // namespace brelvion::bus
