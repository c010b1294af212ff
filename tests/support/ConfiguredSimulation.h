#pragma once

#include "port/simulated/SimulatedBusConfig.h"
#include "port/simulated/SimulatedLines.h"
#include "port/simulated/SimulatedParallelPort.h"

namespace brelvion::testing {

// A simulated parallel port or simulated lines whose configuration Configure (a function
// object taking SimulatedBusConfig&) changes from the default, built by default
// construction as EngineSet builds its port.
template <typename Configure>
port::simulated::SimulatedBusConfig configured() {
  port::simulated::SimulatedBusConfig config;
  Configure{}(config);
  return config;
}

template <typename Configure>
struct ConfiguredPort : port::simulated::SimulatedParallelPort {
  ConfiguredPort() : SimulatedParallelPort(configured<Configure>()) {}
};

template <typename Configure>
struct ConfiguredLines : port::simulated::SimulatedLines {
  ConfiguredLines() : SimulatedLines(configured<Configure>()) {}
};

}  // namespace brelvion::testing
