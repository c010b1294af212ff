#include <gtest/gtest.h>

#include <limits>
#include <stdexcept>

#include "base/RuntimeError.h"
#include "support/EngineFixture.h"
#include "support/MarkedLines.h"
#include "support/MasterWireDecoder.h"

namespace brelvion::testing {
namespace {

using Kind = RecordingPort::Kind;

class TransactionsTest : public ::testing::Test {
 protected:
  void SetUp() override {
    set.engine.setBusDelay(0.001);
    set.port.reads = {0x0C};  // the control register openBus saves
    set.engine.openBus(0, 0);
    set.engine.initPort(10);
    set.port.log.clear();
  }
  void acknowledgeEverything() { set.port.defaultRead = 0x00; }
  std::vector<std::string> errorLines() {
    std::vector<std::string> errors;
    for (const std::string& line : set.traceLines()) {
      if (line.rfind("Wisp ERR", 0) == 0) errors.push_back(line.substr(0, 11));
    }
    return errors;
  }
  EngineSet<RecordingPort> set;
};

// The STOP's own SCL rise, with SDA held low, shows as one more clock before it.
TEST_F(TransactionsTest, WriteRegisterSendsWriteAddressSubAddressAndData) {
  acknowledgeEverything();
  std::int16_t address = 0x43;
  set.design.writeRegister(address, 0x12, 0x80);
  EXPECT_EQ(masterWire(set.port.log),
            wire({"S", sentByte(0x42), sentByte(0x12), sentByte(0x80), "0P"}));
  EXPECT_EQ(address, 0x42);
  EXPECT_TRUE(set.engine.ackReceived());
  EXPECT_EQ(set.engine.addressPhase(), 0);
}

TEST_F(TransactionsTest, SetRegisterPointerStopsAfterTheSubAddress) {
  acknowledgeEverything();
  std::int16_t address = 0x42;
  set.design.setRegisterPointer(address, 0x07);
  EXPECT_EQ(masterWire(set.port.log), wire({"S", sentByte(0x42), sentByte(0x07), "0P"}));
  EXPECT_EQ(address, 0x42);
  EXPECT_TRUE(set.engine.ackReceived());
  EXPECT_EQ(set.engine.addressPhase(), 0);
}

TEST_F(TransactionsTest, ReadSequentialAcknowledgesAllButTheLastByte) {
  // Acknowledge, then 0x5A and 0xC3 on SDA.
  set.port.reads = {0x00, 0, 0x80, 0, 0x80, 0x80, 0, 0x80, 0, 0x80, 0x80, 0, 0, 0, 0, 0x80, 0x80};
  std::int16_t address = 0x42;
  set.design.readSequential(address, 1);

  EXPECT_EQ(address, 0x43);
  EXPECT_EQ(set.design.ReadBuffer, (std::vector<std::int16_t>{0x5A, 0xC3}));
  // The master leaves SDA released while it reads; its acknowledge pulls it low, and the
  // last byte's ninth clock is the STOP's own SCL rise with SDA still low.
  EXPECT_EQ(masterWire(set.port.log),
            wire({"S", sentByte(0x43), "11111111", "0", "11111111", "0P"}));
  EXPECT_TRUE(set.engine.ackReceived());
}

TEST_F(TransactionsTest, ReadSequentialOfCountZeroReadsOneByteWithoutAcknowledge) {
  acknowledgeEverything();
  std::int16_t address = 0x42;
  set.design.readSequential(address, 0);
  EXPECT_EQ(set.design.ReadBuffer.size(), 1u);
  EXPECT_EQ(masterWire(set.port.log), wire({"S", sentByte(0x43), "11111111", "0P"}));
  EXPECT_EQ(set.port.readsDone().size(), 1u + 8u);
}

TEST_F(TransactionsTest, ReadSequentialReplacesTheBufferAndRejectsNegativeCounts) {
  acknowledgeEverything();
  std::int16_t address = 0x42;
  set.design.readSequential(address, 5);
  EXPECT_EQ(set.design.ReadBuffer.size(), 6u);
  set.design.readSequential(address, 2);
  EXPECT_EQ(set.design.ReadBuffer.size(), 3u);

  set.port.log.clear();
  address = 0x42;
  try {
    set.design.readSequential(address, -1);
    FAIL() << "negative count accepted";
  } catch (const base::RuntimeError& error) {
    EXPECT_EQ(error.number(), 5);
    EXPECT_EQ(error.description(), "Invalid procedure call or argument");
  }
  EXPECT_TRUE(set.port.log.empty());
  EXPECT_EQ(address, 0x42);
  EXPECT_EQ(set.design.ReadBuffer.size(), 3u);
}

// A port that keeps no log, so that the longest reads stay cheap to run. A read that goes
// on past the longest one there can be throws, so that a loop that never ends fails.
class CountingPort : public port::PortIo {
 public:
  std::uint8_t inpb(std::uint16_t) override {
    if (++reads > 1 + 8 * 32768) throw std::runtime_error("reading past the largest count");
    return 0x00;
  }
  void out(std::uint16_t, std::uint8_t) override {}
  void waitQuanta(std::int64_t) override {}
  void setQuantum(std::chrono::nanoseconds) override {}
  void setCapture(capture::BusCapture*) override {}
  std::size_t reads = 0;
};

TEST(ReadSequentialCountTest, EveryCountUpToTheLargestReadsCountPlusOneBytes) {
  EngineSet<CountingPort> set;
  // Every read answers low, as the acknowledges need: the START's check would take it for a
  // held bus.
  set.engine.setSdaCheckBeforeStart(false);
  set.engine.openBus(0, 0);
  set.engine.initPort(10);
  for (const std::int16_t count : {std::int16_t{0}, std::int16_t{255}, std::int16_t{32766},
                                   std::numeric_limits<std::int16_t>::max()}) {
    set.port.reads = 0;
    std::int16_t address = 0x42;
    set.design.readSequential(address, count);
    const std::size_t bytes = static_cast<std::size_t>(count) + 1;
    EXPECT_EQ(set.design.ReadBuffer.size(), bytes) << "count " << count;
    // One status read for the address acknowledge, eight per byte.
    EXPECT_EQ(set.port.reads, 1 + 8 * bytes) << "count " << count;
  }
}

TEST_F(TransactionsTest, WithoutADeviceEveryAcknowledgeWaitTimesOutByPhase) {
  set.log.setEnabled(true);
  set.debuggerState.traceBufferSize = 1000;
  std::int16_t address = 0x42;
  set.design.writeRegister(address, 0x12, 0x80);
  EXPECT_EQ(errorLines(), (std::vector<std::string>{"Wisp ERR001", "Wisp ERR002", "Wisp ERR002"}));
  EXPECT_FALSE(set.engine.ackReceived());

  set.trace.replaceText("");
  set.design.readSequential(address, 1);
  EXPECT_EQ(errorLines(), std::vector<std::string>{"Wisp ERR001"});
  EXPECT_EQ(set.design.ReadBuffer, (std::vector<std::int16_t>{0xFF, 0xFF}));
}

TEST_F(TransactionsTest, GeneralCallAddressTimesOutAsALaterByte) {
  set.log.setEnabled(true);
  set.debuggerState.traceBufferSize = 1000;
  std::int16_t address = 0x01;
  set.design.setRegisterPointer(address, 0x00);
  EXPECT_EQ(address, 0);
  EXPECT_EQ(errorLines(), (std::vector<std::string>{"Wisp ERR002", "Wisp ERR002"}));
}

TEST_F(TransactionsTest, OpenBusChoosesThePortAndSavesItsControlRegister) {
  const std::vector<std::tuple<std::int16_t, std::uint16_t, std::string>> ports{
      {0, 0x378, "Wisp SYS002: I2C bus opened on adress 378h        |"},
      {1, 0x278, "Wisp SYS002: I2C bus opened on adress 278h        |"},
      {2, 0x3BC, "Wisp SYS002: I2C bus opened on adress 3BCh        |"}};
  set.debuggerState.traceBufferSize = 1000;
  for (const auto& [index, base, line] : ports) {
    set.port.log.clear();
    set.port.reads = {0x2C};
    set.engine.openBus(index, 1);
    EXPECT_EQ(set.core.cable()->dataPort(), base);
    EXPECT_EQ(set.core.cable()->statusPort(), base + 1);
    EXPECT_EQ(set.core.cable()->controlPort(), base + 2);
    EXPECT_EQ(set.core.cable()->savedControl(), 0x2C);
    EXPECT_EQ(set.port.log, (std::vector<RecordingPort::Access>{
                                {Kind::Read, static_cast<std::uint16_t>(base + 2), 0x2C}}));
    EXPECT_EQ(set.traceLines().back(), markedLine(line));
  }
}

TEST_F(TransactionsTest, OpenBusWithAnUnknownIndexKeepsThePortAndDebugZeroStaysQuiet) {
  set.engine.openBus(1, 0);
  set.engine.openBus(3, 0);
  EXPECT_EQ(set.core.cable()->dataPort(), 0x278);
  set.engine.openBus(-1, 7);
  EXPECT_EQ(set.core.cable()->dataPort(), 0x278);
  EXPECT_FALSE(set.log.enabled());
  EXPECT_FALSE(set.trace.exists());
}

TEST_F(TransactionsTest, CloseBusRestoresControlThenReleasesSdaWithoutDelay) {
  set.engine.closeBus();
  EXPECT_EQ(set.port.log, (std::vector<RecordingPort::Access>{{Kind::Write, 0x37A, 0x0C},
                                                              {Kind::Write, 0x378, 0x7F}}));
  EXPECT_FALSE(set.trace.exists());

  set.log.setEnabled(true);
  set.debuggerState.traceBufferSize = 10;
  set.engine.closeBus();
  EXPECT_EQ(set.traceLines().back(),
            markedLine("Wisp SYS003 :I2C Bus closed                       |"));
}

}  // namespace
}  // namespace brelvion::testing
