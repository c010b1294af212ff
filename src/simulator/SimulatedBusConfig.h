#pragma once

#include <cstdint>
#include <optional>
#include <vector>

namespace brelvion::simulator {

class SimulatedI2cBus;

// What the simulated parallel port has on its cable, or the simulated lines on their bus.
struct SimulatedBusConfig {
  // 8-bit write addresses (even) of the camera sensors on the bus; empty for no device.
  std::vector<std::uint8_t> sensorAddresses{0x42};
  // The port (0x378, 0x278 or 0x3BC) the cable is plugged into.
  std::uint16_t cabledBase = 0x378;
  // Every camera sensor acknowledges only this many bytes, then never again.
  std::optional<int> stopAckingAfterBytes;
  // Every sensor starts caught in the middle of a read, holding SDA low, this many bits
  // (1 to 8) into its byte: four the design's bus clear frees, fewer it cannot.
  bool stuckMidByte = false;
  // Something on the bus holds SDA low for good (a short to ground, a dead part), so that
  // no bus clear frees it.
  bool sdaHeldLow = false;
  int stuckBitsClocked = 4;
  // Every sensor holds SCL low this many nanoseconds after each byte it takes part in.
  std::int64_t clockStretchNs = 0;
  // 8-bit write addresses (even) of the 16-bit sensors (Sensor16) on the bus.
  std::vector<std::uint8_t> sensor16Addresses;
};

// Throws RuntimeError 5 (invalid argument) naming what is wrong: a base that is not a
// known port, an odd sensor address or one two sensors share, a negative acknowledge
// limit or clock stretch, a stuck bus without a camera sensor to hold it, or a stuck
// sensor stopped after no bits or more than eight.
void checkSimulatedBusConfig(const SimulatedBusConfig& config);

// Puts the sensors the configuration describes on bus. A 16-bit sensor's reset time runs
// on the bus's own time.
void attachSensors(SimulatedI2cBus& bus, const SimulatedBusConfig& config);

}  // namespace brelvion::simulator
