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
  // Every camera sensor acknowledges only this many bytes, then never again.
  std::optional<int> stopAckingAfterBytes;
  // Every camera sensor starts caught in the middle of a read, holding SDA low.
  bool stuckMidByte = false;
  // 8-bit write addresses (even) of the 16-bit sensors (Sensor16) on the bus.
  std::vector<std::uint8_t> sensor16Addresses;
};

// Throws RuntimeError 5 (invalid argument) naming what is wrong: a base that is not a
// known port, an odd sensor address or one two sensors share, a negative acknowledge
// limit, or a stuck bus without a camera sensor to hold it.
void checkSimulatedBusConfig(const SimulatedBusConfig& config);

}  // namespace brelvion::port::simulated
