#include <gtest/gtest.h>

#include "base/RuntimeError.h"
#include "simulator/SimulatedParallelPort.h"

namespace brelvion::simulator {
namespace {

constexpr std::uint8_t kIdleStatus = 0xF8;

TEST(SimulatedParallelPortTest, RegistersAreLatchesAndOnlyTheCabledPortReachesTheBus) {
  SimulatedBusConfig config;
  config.cabledBase = 0x278;
  SimulatedParallelPort port(config);
  for (std::uint16_t base : {0x378, 0x278, 0x3BC}) {
    EXPECT_EQ(port.inpb(base), 0x00) << base;
    EXPECT_EQ(port.inpb(base + 2), 0x0C) << base;
    port.out(base + 1, 0x00);  // status is read-only
    EXPECT_EQ(port.inpb(base + 1), kIdleStatus) << base;
  }
  port.out(0x378, 0xFF);
  port.out(0x37A, 0x03);
  EXPECT_EQ(port.inpb(0x378), 0xFF);
  EXPECT_EQ(port.inpb(0x37A), 0x03);
  EXPECT_TRUE(port.bus().sda() && port.bus().scl()) << "a port without the cable moved the bus";
  port.out(0x278, 0xFF);
  EXPECT_EQ(port.inpb(0x279), kIdleStatus & 0x7F);
  port.out(0x300, 0x00);
  EXPECT_EQ(port.inpb(0x300), 0xFF);
}

TEST(SimulatedParallelPortTest, RejectsImpossibleConfigurationsWithError5) {
  const auto rejects = [](auto change) {
    SimulatedBusConfig config;
    change(config);
    try {
      makeSimulatedPort(config);
    } catch (const base::RuntimeError& error) {
      return error.number() == base::RuntimeError::kInvalidCall && !error.description().empty();
    }
    return false;
  };
  EXPECT_TRUE(rejects([](SimulatedBusConfig& c) { c.cabledBase = 0x379; }));
  EXPECT_TRUE(rejects([](SimulatedBusConfig& c) { c.sensorAddresses = {0x43}; }));
  EXPECT_TRUE(rejects([](SimulatedBusConfig& c) { c.sensorAddresses = {0x42, 0x60, 0x42}; }));
  EXPECT_TRUE(rejects([](SimulatedBusConfig& c) { c.stopAckingAfterBytes = -1; }));
  EXPECT_TRUE(
      rejects([](SimulatedBusConfig& c) { c.sensorAddresses = {}, c.stuckMidByte = true; }));
  EXPECT_FALSE(rejects([](SimulatedBusConfig&) {}));
}

// A short or a dead part: SDA stays low whatever the master does, unlike a stuck sensor,
// which the bus clear's clock pulses free.
TEST(SimulatedParallelPortTest, ASdaHeldLowStaysLowWithBothLinesReleased) {
  SimulatedBusConfig config;
  config.sdaHeldLow = true;
  SimulatedParallelPort port(config);
  for (int pulse = 0; pulse < 9; ++pulse) {
    port.out(0x37A, 0x00);
    port.out(0x37A, 0x08);
  }
  port.out(0x378, 0x7F);
  EXPECT_EQ(port.inpb(0x379), kIdleStatus & 0x7F);
  EXPECT_FALSE(port.bus().sda());
}

}  // namespace
}  // namespace brelvion::simulator
