#include <gtest/gtest.h>

#include "support/EngineFixture.h"
#include "support/MarkedLines.h"
#include "support/MasterWireDecoder.h"

namespace brelvion::testing {
namespace {

using Kind = RecordingPort::Kind;
constexpr std::uint8_t kSdaLowStatus = 0x7F;
constexpr std::uint8_t kSdaHighStatus = 0x80;

class PrimitivesTest : public ::testing::Test {
 protected:
  void SetUp() override {
    set.engine.setBusDelay(0.001);
    set.engine.openBus(0, 0);
    set.engine.initPort(10);
    set.port.log.clear();
  }
  void enableDebugger() {
    set.log.setEnabled(true);
    set.debuggerState.traceBufferSize = 1000;
  }
  std::vector<std::string> messages() {
    auto lines = set.traceLines();
    lines.erase(lines.begin());  // the log starts the trace with an empty line
    return lines;
  }
  EngineSet<RecordingPort> set;
};

TEST_F(PrimitivesTest, StartAndStopMakeTheirConditionsWithDoubledWrites) {
  set.engine.sendStart();
  EXPECT_EQ(set.port.writes(), (std::vector<RecordingPort::Access>{{Kind::Write, 0x378, 0x7F},
                                                                   {Kind::Write, 0x37A, 0x08},
                                                                   {Kind::Write, 0x378, 0xFF},
                                                                   {Kind::Write, 0x378, 0xFF},
                                                                   {Kind::Write, 0x37A, 0x00}}));
  EXPECT_EQ(set.port.waits(), 5u * 2);

  set.port.log.clear();
  set.engine.sendStop();
  EXPECT_EQ(set.port.writes(), (std::vector<RecordingPort::Access>{{Kind::Write, 0x378, 0xFF},
                                                                   {Kind::Write, 0x378, 0xFF},
                                                                   {Kind::Write, 0x37A, 0x08},
                                                                   {Kind::Write, 0x37A, 0x08},
                                                                   {Kind::Write, 0x378, 0x7F}}));
  EXPECT_EQ(set.port.waits(), 5u * 2);
}

TEST_F(PrimitivesTest, TransmitByteSendsTheLowByteMsbFirstAndReleasesSda) {
  set.engine.sendStart();
  const std::size_t startWrites = set.port.writes().size();
  set.engine.transmitByte(0x1A5);
  EXPECT_EQ(set.port.writes().size() - startWrites, 25u);
  EXPECT_EQ(set.port.waits(), (5u + 25u) * 2);
  EXPECT_EQ(masterWire(set.port.log), "S10100101");
  EXPECT_EQ(set.port.writes().back(), (RecordingPort::Access{Kind::Write, 0x378, 0x7F}));
}

TEST_F(PrimitivesTest, WaitAckCountsStatusReadsUpToTheTimeout) {
  struct Case {
    std::deque<std::uint8_t> reads;
    std::size_t expectedReads;
    bool acknowledged;
  };
  const std::vector<Case> cases{
      {{}, 10, false},
      {{kSdaLowStatus}, 1, true},
      {{0x80, 0xFF, 0x00}, 3, true},
      // Only bit 7 counts.
      {{0xFF, 0x80, 0x81, 0x7F}, 4, true},
      // Seen on the tenth and last sample: still a timeout.
      {{0x80, 0x80, 0x80, 0x80, 0x80, 0x80, 0x80, 0x80, 0x80, 0x00}, 10, false},
  };
  for (const Case& c : cases) {
    set.port.log.clear();
    set.port.reads = c.reads;
    set.port.defaultRead = kSdaHighStatus;
    set.engine.waitAck();
    EXPECT_EQ(set.port.readsDone().size(), c.expectedReads);
    EXPECT_EQ(set.engine.ackReceived(), c.acknowledged);
    for (const auto& read : set.port.readsDone()) EXPECT_EQ(read.port, 0x379);
  }
}

TEST_F(PrimitivesTest, WaitAckBeforeTheBusIsInitialisedStillEnds) {
  for (std::int16_t timeout : {0, -3}) {
    set.port.log.clear();
    set.setAckTimeout(timeout);
    set.port.reads = {0x00};
    set.engine.waitAck();
    EXPECT_EQ(set.port.readsDone().size(), 1u);
    EXPECT_FALSE(set.engine.ackReceived());
  }
}

TEST_F(PrimitivesTest, WaitAckDoubledWritesShareOneDelay) {
  set.port.reads = {kSdaLowStatus};
  set.engine.waitAck();
  const std::vector<RecordingPort::Access> expected{
      {Kind::Write, 0x378, 0x7F}, {Kind::Write, 0x378, 0x7F}, {Kind::Wait, 0, 0},
      {Kind::Wait, 0, 0},         {Kind::Write, 0x37A, 0x08}, {Kind::Write, 0x37A, 0x08},
      {Kind::Wait, 0, 0},         {Kind::Wait, 0, 0},         {Kind::Read, 0x379, 0x7F},
      {Kind::Write, 0x378, 0x7F}, {Kind::Write, 0x378, 0x7F}, {Kind::Wait, 0, 0},
      {Kind::Wait, 0, 0},         {Kind::Write, 0x37A, 0x00}, {Kind::Write, 0x37A, 0x00},
      {Kind::Wait, 0, 0},         {Kind::Wait, 0, 0}};
  EXPECT_EQ(set.port.log, expected);
}

TEST_F(PrimitivesTest, TimeoutReportsByPhaseOrBeepsWhenTheDebuggerIsOff) {
  set.engine.waitAck();
  EXPECT_EQ(set.desktop.beeps, 1);
  EXPECT_FALSE(set.trace.exists());

  enableDebugger();
  set.engine.setAddressPhase(0x42);
  set.engine.waitAck();
  set.engine.setAddressPhase(0);
  set.engine.waitAck();
  set.port.reads = {kSdaLowStatus};
  set.engine.waitAck();

  EXPECT_EQ(set.desktop.beeps, 1);
  EXPECT_EQ(messages(), markedLines({"Wisp MSG003:  Waiting for ACKNOWLEDGE             |",
                                     "Wisp ERR001:  Device is not responding            |",
                                     "Wisp MSG003:  Waiting for ACKNOWLEDGE             |",
                                     "Wisp ERR002:  No ACK received                     |",
                                     "Wisp MSG003:  Waiting for ACKNOWLEDGE             |"}));
}

TEST_F(PrimitivesTest, ReceiveByteSamplesEachBitWhileSclIsHigh) {
  // 0xA5 = 1010 0101
  set.port.reads = {0x80, 0x00, 0xFF, 0x7F, 0x00, 0x80, 0x00, 0x80};
  set.engine.receiveByte();
  EXPECT_EQ(set.engine.receivedByte(), 0xA5);
  EXPECT_EQ(set.port.writes().size(), 17u);
  EXPECT_EQ(set.port.readsDone().size(), 8u);

  // Each read sits between an SCL-high step and the SCL-low step that follows it.
  const auto& log = set.port.log;
  for (std::size_t i = 0; i < log.size(); ++i) {
    if (log[i].kind != Kind::Read) continue;
    EXPECT_EQ(log[i - 3].value, 0x08);
    EXPECT_EQ(log[i + 1].value, 0x00);
    EXPECT_EQ(log[i + 1].port, 0x37A);
  }
}

TEST_F(PrimitivesTest, ReceiveByteMessageShowsTwoUpperCaseHexDigits) {
  enableDebugger();
  set.port.defaultRead = 0xFF;
  set.engine.receiveByte();
  set.port.defaultRead = 0x00;
  set.engine.receiveByte();
  set.port.reads = {0, 0, 0, 0, 0x80, 0, 0x80, 0};
  set.engine.receiveByte();
  EXPECT_EQ(set.engine.receivedByte(), 10);

  EXPECT_EQ(messages(), markedLines({"Wisp MSG005:  Receiving data from slave :FFh      |",
                                     "Wisp MSG005:  Receiving data from slave :00h      |",
                                     "Wisp MSG005:  Receiving data from slave :0Ah      |"}));
}

TEST_F(PrimitivesTest, MasterAckHoldsSdaLowForTheNinthClockAndLogsAfterwards) {
  enableDebugger();
  set.engine.sendMasterAck();
  EXPECT_EQ(set.port.writes(), (std::vector<RecordingPort::Access>{{Kind::Write, 0x37A, 0x00},
                                                                   {Kind::Write, 0x378, 0xFF},
                                                                   {Kind::Write, 0x37A, 0x08},
                                                                   {Kind::Write, 0x37A, 0x00},
                                                                   {Kind::Write, 0x378, 0x7F}}));
  EXPECT_EQ(messages(), markedLines({"WISP MSG:   Giving ACK                            |"}));
}

TEST_F(PrimitivesTest, MessagesComeBeforeTheLineStepsExceptForReceivedBytes) {
  enableDebugger();
  std::vector<std::size_t> writesAtMessage;
  set.log.setLineListener(
      [&](std::string_view) { writesAtMessage.push_back(set.port.writes().size()); });
  set.engine.sendStart();    // logs at 0 writes
  set.engine.receiveByte();  // logs after its 17 writes: 5 + 17
  set.engine.sendStop();     // logs at 22
  EXPECT_EQ(writesAtMessage, (std::vector<std::size_t>{0, 22, 22}));
}

TEST_F(PrimitivesTest, DisabledDebuggerBuildsNoMessages) {
  set.port.defaultRead = 0x80;
  set.engine.sendStart();
  set.engine.transmitByte(0x42);
  set.engine.waitAck();
  set.engine.receiveByte();
  set.engine.sendMasterAck();
  set.engine.sendStop();
  EXPECT_FALSE(set.trace.exists());
  EXPECT_EQ(set.desktop.beeps, 1);
}

}  // namespace
}  // namespace brelvion::testing
