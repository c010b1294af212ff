#include <gtest/gtest.h>

#include <algorithm>
#include <utility>
#include <vector>

#include "support/ConfiguredSimulation.h"
#include "support/EngineFixture.h"
#include "support/MarkedLines.h"
#include "support/MasterWireDecoder.h"

namespace brelvion::testing {
namespace {

using Kind = RecordingPort::Kind;
using simulator::SimulatedBusConfig;
using simulator::SimulatedLines;

// A sensor stopped one bit into a zero byte: seven zeros left, more than the bus clear's
// six pulses clock out.
struct StuckEarly {
  void operator()(SimulatedBusConfig& c) const {
    c.stuckMidByte = true;
    c.stuckBitsClocked = 1;
  }
};
// The design's stuck sensor, four bits in.
struct StuckMidway {
  void operator()(SimulatedBusConfig& c) const { c.stuckMidByte = true; }
};
// A sensor that stretches the clock for good after its address.
struct HoldsTheClock {
  void operator()(SimulatedBusConfig& c) const { c.clockStretchNs = 1'000'000'000'000; }
};

template <typename Port>
void openOnly(EngineSet<Port>& set) {
  set.engine.setBusDelay(0.001);
  set.debuggerState.traceBufferSize = 1000;
  set.engine.openBus(0, 1);
  set.setAckTimeout(10);
  set.trace.replaceText("");
}

template <typename Port>
std::int16_t writeAndReadBack(EngineSet<Port>& set) {
  std::int16_t address = 0x42;
  set.design.writeRegister(address, 0x10, 0x5A);
  set.design.setRegisterPointer(address, 0x10);
  set.design.readSequential(address, 0);
  return set.engine.ackReceived() ? set.design.ReadBuffer[0] : -1;
}

template <typename Port>
void recoveryFreesWhatTheBusClearCannot() {
  EngineSet<Port> set;
  openOnly(set);
  set.engine.initPort(10);
  EXPECT_FALSE(set.port.bus().sda()) << "the six pulses should not free this sensor";

  const bus::RecoveryResult result = set.engine.recoverBus();
  EXPECT_TRUE(result.free);
  EXPECT_EQ(result.pulses, 2);
  EXPECT_FALSE(result.sclHeldLow);
  EXPECT_TRUE(set.port.bus().sda() && set.port.bus().scl());
  EXPECT_EQ(writeAndReadBack(set), 0x5A);
}

TEST(RecoveryTest, FreesASensorStoppedEarlyInAZeroByteWhereTheBusClearCannot) {
  recoveryFreesWhatTheBusClearCannot<ConfiguredLines<StuckEarly>>();
  recoveryFreesWhatTheBusClearCannot<ConfiguredPort<StuckEarly>>();
}

TEST(RecoveryTest, CountsThePulsesUntilSdaIsFreeAndTracesThem) {
  EngineSet<ConfiguredLines<StuckEarly>> early;
  openOnly(early);
  EXPECT_EQ(early.engine.recoverBus().pulses, 8);

  EngineSet<ConfiguredLines<StuckMidway>> midway;
  openOnly(midway);
  const bus::RecoveryResult result = midway.engine.recoverBus();
  EXPECT_TRUE(result.free);
  EXPECT_EQ(result.pulses, 5);
  EXPECT_EQ(midway.traceLines(), markedLines({"|",
                                              "Wisp MSG009:  Recovering bus                      |",
                                              "Wisp MSG002:  Generating STOP on bus              |",
                                              "Wisp SYS004: Bus free after 5 clock pulses        |"}));
  EXPECT_EQ(writeAndReadBack(midway), 0x5A);

  midway.trace.replaceText("");
  EXPECT_EQ(midway.engine.recoverBus().pulses, 0);
  EXPECT_EQ(midway.traceLines().back(),
            markedLine("Wisp SYS004: Bus free after 0 clock pulses        |"));
}

// On the cable: both lines released, nine pulses while the status reads SDA low, then the
// STOP; every step one write and its delay.
TEST(RecoveryTest, OnTheCableGivesNinePulsesAtMostThenAStop) {
  EngineSet<RecordingPort> set;
  openOnly(set);
  set.port.log.clear();
  set.port.defaultRead = 0x00;
  const bus::RecoveryResult result = set.engine.recoverBus();
  EXPECT_FALSE(result.free);
  EXPECT_EQ(result.pulses, 9);
  EXPECT_EQ(masterWire(set.port.log), "1111111110P");
  EXPECT_EQ(set.port.readsDone().size(), 9u + 1u + 1u);
  EXPECT_EQ(set.port.writes().size(), 2u + 2u * 9u + 1u + 5u);
  EXPECT_EQ(set.port.waits(), set.port.writes().size() * 2);
  EXPECT_EQ(set.traceLines().back(),
            markedLine("Wisp ERR007:  Bus still held after 9 clock pulses |"));

  set.port.log.clear();
  set.port.reads = {0x00, 0x00, 0x80};
  set.port.defaultRead = 0x80;
  EXPECT_EQ(set.engine.recoverBus().pulses, 2);
  EXPECT_EQ(masterWire(set.port.log), "110P");
  EXPECT_EQ(set.traceLines().back(),
            markedLine("Wisp SYS004: Bus free after 2 clock pulses        |"));
}

TEST(RecoveryTest, ABusWhoseClockIsHeldCannotBeRecoveredAndSaysSo) {
  EngineSet<ConfiguredLines<HoldsTheClock>> set;
  openOnly(set);
  set.engine.initPort(10);
  std::int16_t address = 0x42;
  EXPECT_THROW(set.design.writeRegister(address, 0x10, 0x5A), bus::ClockHeldLow);
  set.trace.replaceText("");

  const bus::RecoveryResult result = set.engine.recoverBus();
  EXPECT_TRUE(result.sclHeldLow);
  EXPECT_FALSE(result.free);
  EXPECT_EQ(result.pulses, 0);
  EXPECT_EQ(set.traceLines(), markedLines({"|",
                                           "Wisp MSG009:  Recovering bus                      |",
                                           "Wisp ERR006:  Clock stretched beyond timeout      |"}));
  EXPECT_TRUE(set.port.bus().masterReleasesScl() && set.port.bus().masterReleasesSda());
}

struct SdaHeld {
  void operator()(SimulatedBusConfig& c) const { c.sdaHeldLow = true; }
};

// Every transaction's START first finds SDA low: no acknowledge is read from a held line.
template <typename Port>
void aHeldSdaEndsEveryTransactionBeforeItsStart() {
  const std::vector<std::pair<const char*, void (*)(bus::BusEngine&)>> transactions{
      {"WriteRegister", [](bus::BusEngine& e) { std::int16_t a = 0x44; testing::design(e).writeRegister(a, 0x12, 0x80); }},
      {"ReadRegisters", [](bus::BusEngine& e) { std::int16_t a = 0x44; testing::design(e).readRegisters(a, 0, 3); }},
      {"ReadSequential", [](bus::BusEngine& e) { std::int16_t a = 0x45; testing::design(e).readSequential(a, 0); }},
  };
  for (const auto& [name, run] : transactions) {
    EngineSet<Port> set;
    openOnly(set);
    set.engine.initPort(10);
    set.trace.replaceText("");
    EXPECT_THROW(run(set.engine), bus::SdaHeldLow) << name;
    EXPECT_FALSE(set.engine.ackReceived()) << name;
    EXPECT_EQ(set.traceLines(), markedLines({"|",
                                             "Wisp MSG001:  Generating START on bus             |",
                                             "Wisp ERR008:  SDA held low before START           |"}))
        << name;
    EXPECT_TRUE(set.port.bus().masterReleasesScl() && set.port.bus().masterReleasesSda()) << name;
  }
}

TEST(SdaCheckTest, AHeldSdaEndsTheCommandOnTheCableAndOnLines) {
  aHeldSdaEndsEveryTransactionBeforeItsStart<ConfiguredPort<SdaHeld>>();
  aHeldSdaEndsEveryTransactionBeforeItsStart<ConfiguredLines<SdaHeld>>();
}

// On a free bus the check is one status read inside SCL's step: the cable's writes and
// waits stay the design's, access for access.
TEST(SdaCheckTest, OnTheCableTheCheckAddsOneReadAndNoWrite) {
  std::vector<RecordingPort::Access> accesses[2];
  for (const bool check : {false, true}) {
    EngineSet<RecordingPort> set;
    set.engine.setBusDelay(0.001);
    set.setAckTimeout(10);
    set.engine.setSdaCheckBeforeStart(check);
    if (check) set.port.reads = {0x80};
    set.port.defaultRead = 0x00;
    std::int16_t address = 0x42;
    set.design.writeRegister(address, 0x12, 0x80);
    EXPECT_TRUE(set.engine.ackReceived());
    accesses[check] = set.port.log;
  }
  ASSERT_EQ(accesses[1].size(), accesses[0].size() + 1);
  const auto read = std::find_if(accesses[1].begin(), accesses[1].end(),
                                 [](const auto& a) { return a.kind == Kind::Read; });
  EXPECT_EQ(read - accesses[1].begin(), 4) << "after SDA and SCL are released, before the wait";
  accesses[1].erase(read);
  EXPECT_EQ(accesses[1], accesses[0]);
}

}  // namespace
}  // namespace brelvion::testing
