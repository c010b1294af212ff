#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "simulator/CameraSensor.h"
#include "simulator/SimulatedParallelPort.h"
#include "support/ConfiguredSimulation.h"
#include "support/EngineFixture.h"

namespace brelvion::simulator {
namespace {

using testing::ConfiguredPort;
using testing::EngineSet;

struct NoDevice {
  void operator()(SimulatedBusConfig& c) const { c.sensorAddresses = {}; }
};
struct OnlyAt60 {
  void operator()(SimulatedBusConfig& c) const { c.sensorAddresses = {0x60}; }
};
struct TwoSensors {
  void operator()(SimulatedBusConfig& c) const { c.sensorAddresses = {0x42, 0x60}; }
};
struct ThreeAcks {
  void operator()(SimulatedBusConfig& c) const { c.stopAckingAfterBytes = 3; }
};
struct Stuck {
  void operator()(SimulatedBusConfig& c) const { c.stuckMidByte = true; }
};

template <typename Port>
void open(EngineSet<Port>& set, std::int16_t debug = 0) {
  set.engine.setBusDelay(0.001);
  set.engine.openBus(0, debug);
  set.engine.initPort(10);
}

template <typename Port>
void writeRegister(EngineSet<Port>& set, std::int16_t address, std::int16_t reg,
                   std::int16_t value) {
  set.design.writeRegister(address, reg, value);
}

template <typename Port>
std::vector<std::int16_t> readRegisters(EngineSet<Port>& set, std::int16_t address,
                                        std::int16_t first, std::int16_t count) {
  set.design.setRegisterPointer(address, first);
  set.design.readSequential(address, static_cast<std::int16_t>(count - 1));
  return set.design.ReadBuffer;
}

std::int16_t byDefault(int reg) {
  return CameraSensor::defaultValue(static_cast<std::uint8_t>(reg));
}

TEST(SimulatedBusEngineTest, ReadsBackWhatWasWritten) {
  EngineSet<SimulatedParallelPort> set;
  open(set);
  writeRegister(set, 0x42, 0x10, 0x5A);
  EXPECT_TRUE(set.engine.ackReceived());
  EXPECT_EQ(readRegisters(set, 0x42, 0x0F, 3),
            (std::vector<std::int16_t>{byDefault(0x0F), 0x5A, byDefault(0x11)}));
  EXPECT_TRUE(set.engine.ackReceived());
  EXPECT_EQ(set.desktop.beeps, 0);
}

TEST(SimulatedBusEngineTest, SequentialReadWrapsFromFFhTo00hAndShowsTheIdRegisters) {
  EngineSet<SimulatedParallelPort> set;
  open(set);
  const std::vector<std::int16_t> expected{byDefault(0xF6),
                                           byDefault(0xF7),
                                           0xB7,
                                           0x3E,
                                           0x02,
                                           0x5C,
                                           byDefault(0xFC),
                                           byDefault(0xFD),
                                           byDefault(0xFE),
                                           byDefault(0xFF),
                                           byDefault(0x00),
                                           byDefault(0x01)};
  EXPECT_EQ(readRegisters(set, 0x42, 0xF6, 12), expected);
}

TEST(SimulatedBusEngineTest, IdRegistersIgnoreWritesAndSoftResetRestoresDefaults) {
  EngineSet<SimulatedParallelPort> set;
  open(set);
  writeRegister(set, 0x42, CameraSensor::kRegChipIdHigh, 0x00);
  EXPECT_TRUE(set.engine.ackReceived());
  EXPECT_EQ(readRegisters(set, 0x42, CameraSensor::kRegChipIdHigh, 1)[0], 0xB7);

  writeRegister(set, 0x42, 0x20, 0x99);
  writeRegister(set, 0x42, CameraSensor::kRegSystemControl, 0x05);  // no reset bit: kept
  EXPECT_EQ(readRegisters(set, 0x42, CameraSensor::kRegSystemControl, 1)[0], 0x05);
  writeRegister(set, 0x42, CameraSensor::kRegSystemControl, 0x45);
  EXPECT_EQ(readRegisters(set, 0x42, 0x20, 1)[0], byDefault(0x20));
  EXPECT_EQ(readRegisters(set, 0x42, CameraSensor::kRegSystemControl, 1)[0], 0x12);
}

TEST(SimulatedBusEngineTest, WithoutADeviceEveryAcknowledgeWaitFails) {
  EngineSet<ConfiguredPort<NoDevice>> set;
  set.debuggerState.traceBufferSize = 1000;
  open(set, 1);
  writeRegister(set, 0x42, 0x10, 0x5A);
  EXPECT_EQ(readRegisters(set, 0x42, 0x10, 2), (std::vector<std::int16_t>{0xFF, 0xFF}));
  // Write: address, sub address, data. Pointer: address, sub address. Read: address only,
  // the bytes themselves are acknowledged by the master.
  const auto lines = set.traceLines();
  const auto count = [&](std::string_view message) {
    return std::count(lines.begin(), lines.end(), trace::padTraceLine(message));
  };
  EXPECT_EQ(count("Wisp ERR001:  Device is not responding "), 3);
  EXPECT_EQ(count("Wisp ERR002:  No ACK received"), 3);
  EXPECT_FALSE(set.engine.ackReceived());
}

TEST(SimulatedBusEngineTest, SensorsAnswerOnlyTheirOwnAddress) {
  EngineSet<ConfiguredPort<OnlyAt60>> lone;
  open(lone);
  writeRegister(lone, 0x42, 0x10, 0x11);
  EXPECT_EQ(lone.desktop.beeps, 3);

  EngineSet<ConfiguredPort<TwoSensors>> pair;
  open(pair);
  writeRegister(pair, 0x42, 0x30, 0xA1);
  writeRegister(pair, 0x60, 0x30, 0xB2);
  EXPECT_EQ(readRegisters(pair, 0x42, 0x30, 1)[0], 0xA1);
  EXPECT_EQ(readRegisters(pair, 0x60, 0x30, 1)[0], 0xB2);
  EXPECT_EQ(pair.desktop.beeps, 0);
}

TEST(SimulatedBusEngineTest, ASensorThatStopsAcknowledgingIsNotRespondingAfterItsLimit) {
  EngineSet<ConfiguredPort<ThreeAcks>> set;
  open(set);
  writeRegister(set, 0x42, 0x10, 0x5A);
  EXPECT_TRUE(set.engine.ackReceived());
  EXPECT_EQ(set.desktop.beeps, 0);
  std::int16_t address = 0x42;
  set.design.setRegisterPointer(address, 0x10);
  EXPECT_FALSE(set.engine.ackReceived());
  EXPECT_EQ(set.desktop.beeps, 2);
}

TEST(SimulatedBusEngineTest, BusClearFreesASensorStuckMidRead) {
  EngineSet<ConfiguredPort<Stuck>> set;
  EXPECT_FALSE(set.port.inpb(0x379) & 0x80) << "the stuck sensor should hold SDA low";
  open(set);
  EXPECT_TRUE(set.port.inpb(0x379) & 0x80);
  writeRegister(set, 0x42, 0x10, 0x5A);
  EXPECT_EQ(readRegisters(set, 0x42, 0x10, 1)[0], 0x5A);
  EXPECT_EQ(set.desktop.beeps, 0);
}

TEST(SimulatedBusEngineTest, ALineStepLastsFiveMicrosecondsOfVirtualTime) {
  EngineSet<SimulatedParallelPort> set;
  open(set);
  const std::int64_t before = set.port.nowNs();
  set.engine.sendStart();
  EXPECT_EQ(set.port.nowNs() - before, 5 * 5000);
}

}  // namespace
}  // namespace brelvion::simulator
