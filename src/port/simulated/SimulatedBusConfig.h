#pragma once

#include <cstdint>
#include <optional>
#include <vector>

namespace brelvion::port::simulated {

// What the simulated parallel port has on its cable.
struct SimulatedBusConfig {
  // 8-bit write addresses (even) of the camera sensors on the bus; empty for no device.
  std::vector<std::uint8_t> sensorAddresses{0x42};
  // The port (0x378, 0x278 or 0x3BC) the cable is plugged into.
  std::uint16_t cabledBase = 0x378;
  // Every sensor acknowledges only this many bytes, then never again.
  std::optional<int> stopAckingAfterBytes;
  // Every sensor starts caught in the middle of a read, holding SDA low.
  bool stuckMidByte = false;
  // Something on the bus holds SDA low for good (a short to ground, a dead part), so that
  // no bus clear frees it.
  bool sdaHeldLow = false;
};

// Throws RuntimeError 5 (invalid argument) naming what is wrong: a base that is not a
// known port, an odd or repeated sensor address, a negative acknowledge limit, or a stuck
// bus without a sensor to hold it.
void checkSimulatedBusConfig(const SimulatedBusConfig& config);

}  // namespace brelvion::port::simulated
