#include "simulator/SimulatedLines.h"

#include <algorithm>

namespace brelvion::simulator {

SimulatedLines::SimulatedLines(const SimulatedBusConfig& config) {
  checkSimulatedBusConfig(config);
  attachSensors(bus_, config);
}

std::int64_t SimulatedLines::access() {
  bus_.advanceTo(now_);
  const std::int64_t start = now_;
  now_ += kAccessNs;
  return start;
}

void SimulatedLines::setSda(bool released) {
  timer_.markWrite(access());
  bus_.driveMaster(bus_.masterReleasesScl(), released);
}

void SimulatedLines::setScl(bool released) {
  timer_.markWrite(access());
  bus_.driveMaster(released, bus_.masterReleasesSda());
}

bool SimulatedLines::sda() {
  access();
  return bus_.sda();
}

std::optional<bool> SimulatedLines::scl() {
  access();
  return bus_.scl();
}

void SimulatedLines::waitQuanta(std::int64_t passes) {
  now_ = std::max(now_, timer_.deadlineAfter(passes));
}

}  // namespace brelvion::simulator
