#pragma once

#include "simulator/SimulatedBusConfig.h"
#include "simulator/SimulatedLines.h"
#include "simulator/SimulatedParallelPort.h"

namespace brelvion::testing {

// A simulated parallel port or simulated lines whose configuration Configure (a function
// object taking SimulatedBusConfig&) changes from the default, built by default
// construction as EngineSet builds its port.
template <typename Configure>
simulator::SimulatedBusConfig configured() {
  simulator::SimulatedBusConfig config;
  Configure{}(config);
  return config;
}

template <typename Configure>
struct ConfiguredPort : simulator::SimulatedParallelPort {
  ConfiguredPort() : SimulatedParallelPort(configured<Configure>()) {}
};

template <typename Configure>
struct ConfiguredLines : simulator::SimulatedLines {
  ConfiguredLines() : SimulatedLines(configured<Configure>()) {}
};

}  // namespace brelvion::testing
