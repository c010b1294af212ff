#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "bus/BusMessages.h"
#include "simulator/CameraSensor.h"
#include "support/ConfiguredSimulation.h"
#include "support/EngineFixture.h"
#include "support/MarkedLines.h"
#include "support/RaisesRuntimeError.h"

namespace brelvion::testing {
namespace {

using namespace std::chrono_literals;
using simulator::CameraSensor;
using simulator::SimulatedBusConfig;
using simulator::SimulatedLines;
using simulator::SimulatedParallelPort;

template <std::int64_t kStretchNs>
struct Stretching {
  void operator()(SimulatedBusConfig& c) const { c.clockStretchNs = kStretchNs; }
};
using StretchingLines = ConfiguredLines<Stretching<1'000'000>>;
using OverlongStretchLines = ConfiguredLines<Stretching<30'000'000>>;

template <typename Lines>
void open(EngineSet<Lines>& set, std::int16_t debug = 0) {
  set.engine.setBusDelay(0.001);
  set.debuggerState.traceBufferSize = 1000;
  set.engine.openBus(0, debug);
  set.engine.initPort(10);
}

template <typename Lines>
std::vector<std::int16_t> writeAndReadBack(EngineSet<Lines>& set, std::int16_t value) {
  std::int16_t address = 0x42;
  set.design.writeRegister(address, 0x10, value);
  set.design.setRegisterPointer(address, 0x0F);
  set.design.readSequential(address, 2);
  return set.design.ReadBuffer;
}

TEST(StepTimeTest, SetsTheQuantumOfTheCableSPortToHalfAStep) {
  EngineSet<RecordingPort> set;
  EXPECT_EQ(set.engine.stepTime(), 5us);
  set.engine.setStepTime(12us);
  set.engine.setStepTime(1000us);
  set.engine.setStepTime(5us);
  EXPECT_EQ(set.port.quanta, (std::vector<std::chrono::nanoseconds>{6000ns, 500'000ns, 2500ns}));
  EXPECT_EQ(set.engine.stepTime(), 5us);

  for (const auto step : {4us, 1001us, 0us}) {
    EXPECT_THAT([&] { set.engine.setStepTime(step); },
                raisesRuntimeError(5, "The step time must be 5 to 1000 us, not " +
                                          std::to_string(step.count())));
  }
  EXPECT_EQ(set.port.quanta.size(), 3u);
  EXPECT_TRUE(set.port.log.empty());
}

TEST(StepTimeTest, EveryBackendHoldsTheStepOnItsOwnStepTimer) {
  EngineSet<SimulatedParallelPort> port;
  open(port);
  port.engine.setStepTime(40us);
  std::int64_t before = port.port.nowNs();
  port.engine.sendStart();
  EXPECT_EQ(port.port.nowNs() - before, 5 * 40'000);

  EngineSet<SimulatedLines> lines;
  open(lines);
  before = lines.port.nowNs();
  lines.engine.sendStart();
  EXPECT_EQ(lines.port.nowNs() - before, 5 * 5000) << "standard mode by default";
  lines.engine.setStepTime(7us);
  before = lines.port.nowNs();
  lines.engine.sendStop();
  EXPECT_EQ(lines.port.nowNs() - before, 5 * 7000);
}

TEST(StretchTimeoutTest, TakesOneToTenThousandMilliseconds) {
  EngineSet<SimulatedLines> set;
  EXPECT_EQ(set.engine.stretchTimeout(), 25ms);
  set.engine.setStretchTimeout(1ms);
  set.engine.setStretchTimeout(10000ms);
  EXPECT_EQ(set.engine.stretchTimeout(), 10000ms);
  EXPECT_THAT([&] { set.engine.setStretchTimeout(0ms); },
              raisesRuntimeError(5, "The stretch timeout must be 1 to 10000 ms, not 0"));
  EXPECT_THAT([&] { set.engine.setStretchTimeout(10001ms); },
              raisesRuntimeError(5, "not 10001"));
  EXPECT_EQ(set.engine.stretchTimeout(), 10000ms);
}

// A sensor that holds SCL 1 ms after each byte: every SCL release waits for it, and the
// data come out right.
TEST(ClockStretchingTest, StretchingWithinTheTimeoutReadsCorrectData) {
  EngineSet<StretchingLines> set;
  open(set);
  const std::int64_t before = set.port.nowNs();
  EXPECT_EQ(writeAndReadBack(set, 0x5A),
            (std::vector<std::int16_t>{CameraSensor::defaultValue(0x0F), 0x5A,
                                       CameraSensor::defaultValue(0x11)}));
  EXPECT_TRUE(set.engine.ackReceived());
  // Write: address, sub address, data; pointer: address, sub address; read: the address
  // and the two bytes the master acknowledges.
  EXPECT_GE(set.port.nowNs() - before, 8 * 1'000'000);
  EXPECT_EQ(set.desktop.beeps, 0);
}

TEST(ClockStretchingTest, AStretchBeyondTheTimeoutEndsTheCommandWithItsOwnTraceLine) {
  EngineSet<OverlongStretchLines> set;
  open(set, 1);
  set.trace.replaceText("");
  std::int16_t address = 0x42;
  const std::int64_t before = set.port.nowNs();
  EXPECT_THAT([&] { set.design.writeRegister(address, 0x10, 0x5A); },
              raisesRuntimeError(24, "SCL stayed low for more than 25 ms after the master "
                                     "released it: a slave stretches the clock longer than the "
                                     "stretch timeout allows, or something holds SCL low. Allow "
                                     "the slave a longer stretch, or find what holds SCL low"));
  const std::int64_t waited = set.port.nowNs() - before;
  EXPECT_GE(waited, 25'000'000);
  EXPECT_LT(waited, 26'000'000);
  EXPECT_EQ(set.traceLines(), markedLines({
                                  "|",
                                  "Wisp MSG001:  Generating START on bus             |",
                                  "Wisp MSG004:  Transmitting data byte on bus       |",
                                  "Wisp MSG003:  Waiting for ACKNOWLEDGE             |",
                                  "Wisp MSG004:  Transmitting data byte on bus       |",
                                  "Wisp ERR006:  Clock stretched beyond timeout      |",
                              }));
  EXPECT_TRUE(set.port.bus().masterReleasesScl() && set.port.bus().masterReleasesSda())
      << "the master still holds a line of a bus it gave up";
  EXPECT_FALSE(set.engine.ackReceived());

  // Given longer, the same sensor is waited for.
  set.port.waitQuanta(4000);
  set.engine.setStretchTimeout(40ms);
  open(set);
  EXPECT_EQ(writeAndReadBack(set, 0x66)[1], 0x66);
}

TEST(ClockStretchingTest, ATransferEndsWithATimeoutOutcomeAndSendsNothingMore) {
  EngineSet<OverlongStretchLines> set;
  open(set);
  const std::vector<i2c::I2cMessage> messages{
      {0x42, false, {0x10}, 0, i2c::AfterMessage::RepeatedStart},
      {0x42, true, {}, 2, i2c::AfterMessage::Stop}};
  i2c::TransferResult result;
  EXPECT_NO_THROW(result = set.engine.transfer(messages));
  ASSERT_EQ(result.messages.size(), 2u);
  EXPECT_EQ(result.messages[0].outcome, i2c::MessageOutcome::TimedOut);
  EXPECT_EQ(result.messages[1].outcome, i2c::MessageOutcome::NotSent);
  EXPECT_FALSE(result.acknowledged());
}

// The cable reads no SCL: a sensor that stretches is not waited for, and the clocks it
// swallows garble the transfer, as on the real cable.
TEST(ClockStretchingTest, TheCableWaitsForNothing) {
  EngineSet<ConfiguredPort<Stretching<1'000'000>>> set;
  open(set);
  const std::int64_t before = set.port.nowNs();
  std::int16_t address = 0x42;
  set.design.writeRegister(address, 0x10, 0x5A);
  EXPECT_LT(set.port.nowNs() - before, 1'000'000);
}

TEST(LinesOfTheirOwnTest, OpenAndCloseNameTheLinesAndLetThemGo) {
  EngineSet<SimulatedLines> set;
  set.debuggerState.traceBufferSize = 1000;
  set.engine.openBus(2, 1);
  set.engine.initPort(10);
  set.engine.sendStart();
  set.engine.closeBus();
  EXPECT_EQ(set.traceLines(),
            markedLines({"|", "Wisp SYS002: I2C bus opened on simulated lines    |",
                         "Wisp SYS001: I2C port initialised. Bus cleared and released|",
                         "Wisp MSG001:  Generating START on bus             |",
                         "Wisp SYS003 :I2C Bus closed                       |"}));
  EXPECT_TRUE(set.port.bus().scl() && set.port.bus().sda());
  EXPECT_EQ(set.core.cable(), nullptr) << "no parallel port chosen";
}

}  // namespace
}  // namespace brelvion::testing
