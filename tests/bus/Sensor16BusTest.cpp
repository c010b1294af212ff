#include <gtest/gtest.h>

#include <vector>

#include "base/RuntimeError.h"
#include "bus/RegisterAccess.h"
#include "simulator/Sensor16.h"
#include "simulator/SimulatedParallelPort.h"
#include "support/EngineFixture.h"
#include "support/RaisesRuntimeError.h"

// The 16-bit sensor driven by the engine through register transfers of every width.
namespace brelvion::simulator {
namespace {

using i2c::ByteOrder;
using i2c::RegisterFormat;
using Values = std::vector<std::uint32_t>;

struct Sensor16Port : SimulatedParallelPort {
  static SimulatedBusConfig config() {
    SimulatedBusConfig config;
    config.sensorAddresses = {};
    config.sensor16Addresses = {0x20};
    return config;
  }
  Sensor16Port() : SimulatedParallelPort(config()) {}
};

constexpr i2c::RegisterFormat kBytes{2, 1, i2c::ByteOrder::BigEndian};
constexpr i2c::RegisterFormat kWords{2, 2, i2c::ByteOrder::BigEndian};

class Sensor16BusTest : public ::testing::Test {
 protected:
  void SetUp() override {
    set.engine.setBusDelay(0.001);
    set.engine.openBus(0, 0);
    set.engine.initPort(10);
  }
  Values read(const i2c::RegisterFormat& format, std::uint32_t reg, std::size_t count = 1) {
    const bus::RegisterRead result = bus::readRegisters(set.engine, 0x20, format, reg, count);
    EXPECT_TRUE(result.acknowledged());
    return result.values;
  }
  void write(const i2c::RegisterFormat& format, std::uint32_t reg, std::uint32_t value) {
    EXPECT_TRUE(bus::writeRegister(set.engine, 0x20, format, reg, value).acknowledged());
  }
  Sensor16& sensor() { return static_cast<Sensor16&>(set.port.bus().slave(0)); }

  testing::EngineSet<Sensor16Port> set;
};

TEST_F(Sensor16BusTest, TheDefaultBusKeepsTheCameraSensorAlone) {
  SimulatedParallelPort port;
  ASSERT_EQ(port.bus().slaveCount(), 1u);
  EXPECT_EQ(port.bus().slave(0).address7(), 0x21);
  SimulatedBusConfig both;
  both.sensor16Addresses = {0x20};
  EXPECT_EQ(SimulatedParallelPort(both).bus().slaveCount(), 2u);
  both.sensor16Addresses = {0x42};
  EXPECT_EQ(testing::errorNumberOf([&] { SimulatedParallelPort clash(both); }), 5);
}

TEST_F(Sensor16BusTest, RegistersReadInEveryWidthAndBothOrders) {
  EXPECT_EQ(read(kWords, 0x0000), Values{0xB716});
  EXPECT_EQ(read({2, 2, i2c::ByteOrder::LittleEndian}, 0x0000), Values{0x16B7});
  EXPECT_EQ(read(kBytes, 0x0000, 3), (Values{0xB7, 0x16, 0x01}));
  // The pointer runs on through the registers: ID, revision, frame count, a gap, status.
  EXPECT_EQ(read({2, 4, i2c::ByteOrder::BigEndian}, 0x0000, 1), Values{0xB7160100});
  EXPECT_EQ(read({2, 4, i2c::ByteOrder::LittleEndian}, 0x0200, 1), Values{0x1000E803});
  EXPECT_EQ(read(kWords, 0x0340, 6), (Values{0x0460, 0x0A00, 0, 0, 0x077F, 0x0437}));
  EXPECT_EQ(sensor().pointer(), 0x034C);
}

TEST_F(Sensor16BusTest, WritesKeepToTheAccessOfEachRegister) {
  write(kWords, 0x0200, 0x1234);
  write({2, 2, i2c::ByteOrder::LittleEndian}, 0x0202, 0x0055);
  EXPECT_EQ(read(kWords, 0x0200, 2), (Values{0x1234, 0x5500}));
  write(kWords, 0x0000, 0xFFFF);  // read-only: dropped
  EXPECT_EQ(read(kWords, 0x0000), Values{0xB716});
  write(kBytes, 0x0004, 0x77);  // no register there
  EXPECT_EQ(read(kBytes, 0x0004), Values{0x00});
  write(kBytes, 0x0600, 0x02);
  write({2, 4, i2c::ByteOrder::BigEndian}, 0x0344, 0x00100020);
  EXPECT_EQ(read(kBytes, 0x0600), Values{0x02});
  EXPECT_EQ(read(kWords, 0x0344, 2), (Values{0x0010, 0x0020}));
}

TEST_F(Sensor16BusTest, SoftResetRestoresTheDefaultsAndTheStatusSaysWhenItIsReady) {
  write(kWords, 0x0200, 0x1234);
  write(kBytes, 0x0100, 0x01);
  EXPECT_EQ(read(kBytes, 0x0005), Values{0x03});  // ready and streaming
  const std::int64_t resetNotBefore = set.port.nowNs();
  write(kBytes, 0x0103, 0x01);
  EXPECT_EQ(read(kBytes, 0x0103), Values{0x00});  // write-only: reads nothing of it
  EXPECT_EQ(read(kWords, 0x0200), Values{0x03E8});
  EXPECT_EQ(read(kBytes, 0x0005), Values{0x00});
  write(kBytes, 0x0600, 0x01);  // dropped while not ready
  int polls = 0;
  while (read(kBytes, 0x0005) != Values{0x01}) ++polls;
  EXPECT_GT(polls, 0);
  EXPECT_GE(set.port.nowNs() - resetNotBefore, Sensor16::kResetNs);
  EXPECT_EQ(read(kBytes, 0x0600), Values{0x00});
  write(kBytes, 0x0600, 0x01);
  EXPECT_EQ(read(kBytes, 0x0600), Values{0x01});
}

TEST_F(Sensor16BusTest, TheFrameCountRunsWhileStreaming) {
  EXPECT_EQ(read(kBytes, 0x0003), Values{0});
  write(kBytes, 0x0100, 0x01);
  set.port.waitQuanta(3 * Sensor16::kFrameNs / port::kHardwareQuantum.count());
  EXPECT_EQ(read(kBytes, 0x0003), Values{3});
  write(kBytes, 0x0100, 0x00);
  EXPECT_EQ(read(kBytes, 0x0003), Values{0});
}

}  // namespace
}  // namespace brelvion::simulator
