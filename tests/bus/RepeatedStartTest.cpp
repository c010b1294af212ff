#include <gtest/gtest.h>

#include "base/RuntimeError.h"
#include "simulator/SimulatedParallelPort.h"
#include "support/EngineFixture.h"
#include "support/MarkedLines.h"
#include "support/MasterWireDecoder.h"

namespace brelvion::testing {
namespace {

void open(EngineSet<RecordingPort>& set) {
  set.engine.setBusDelay(0.001);
  set.debuggerState.traceBufferSize = 1000;
  set.port.defaultRead = 0x00;  // everything acknowledged, every bit read 0
  set.engine.openBus(0, 1);
  set.engine.initPort(10);
  set.port.log.clear();
  set.trace.replaceText("");
}

TEST(RepeatedStartTest, OffAReadOfRegistersIsExactlyThePointerWriteThenTheRead) {
  EngineSet<RecordingPort> design;
  EngineSet<RecordingPort> combined;
  open(design);
  open(combined);
  std::int16_t address = 0x42;
  design.design.setRegisterPointer(address, 0x07);
  const bool pointerAcknowledged = design.engine.ackReceived();
  design.design.readSequential(address, 3);
  std::int16_t same = 0x42;
  EXPECT_EQ(combined.design.readRegisters(same, 0x07, 3),
            pointerAcknowledged && design.engine.ackReceived());

  EXPECT_EQ(combined.port.log, design.port.log);
  EXPECT_EQ(combined.trace.text(), design.trace.text());
  EXPECT_EQ(combined.design.ReadBuffer, design.design.ReadBuffer);
  EXPECT_EQ(same, address);
}

TEST(RepeatedStartTest, OnTheReadFollowsTheWriteWithoutAStopUnderItsOwnTraceLine) {
  EngineSet<RecordingPort> set;
  open(set);
  set.design.repeatedStartReads = true;
  std::int16_t address = 0x42;
  EXPECT_TRUE(set.design.readRegisters(address, 0x07, 1));
  EXPECT_EQ(address, 0x43);

  // The START's own SCL rise with SDA released shows as one more clock before it.
  EXPECT_EQ(masterWire(set.port.log), wire({"S", sentByte(0x42), sentByte(0x07), "1S",
                                            sentByte(0x43), "11111111", "0", "11111111", "0P"}));
  EXPECT_EQ(set.traceLines(), markedLines({
                                  "|",
                                  "Wisp MSG001:  Generating START on bus             |",
                                  "Wisp MSG004:  Transmitting data byte on bus       |",
                                  "Wisp MSG003:  Waiting for ACKNOWLEDGE             |",
                                  "Wisp MSG004:  Transmitting data byte on bus       |",
                                  "Wisp MSG003:  Waiting for ACKNOWLEDGE             |",
                                  "Wisp MSG006:  Generating repeated START on bus    |",
                                  "Wisp MSG004:  Transmitting data byte on bus       |",
                                  "Wisp MSG003:  Waiting for ACKNOWLEDGE             |",
                                  "Wisp MSG005:  Receiving data from slave :00h      |",
                                  "WISP MSG:   Giving ACK                            |",
                                  "Wisp MSG005:  Receiving data from slave :00h      |",
                                  "Wisp MSG002:  Generating STOP on bus              |",
                              }));
  EXPECT_EQ(set.design.ReadBuffer.size(), 2u);
  EXPECT_THROW(set.design.readRegisters(address, 0, -1), brelvion::base::RuntimeError);
}

TEST(RepeatedStartTest, OnTheSimulatedSensorTheRegistersReadTheSame) {
  EngineSet<simulator::SimulatedParallelPort> set;
  set.engine.setBusDelay(0.001);
  set.engine.openBus(0, 0);
  set.engine.initPort(10);
  std::int16_t address = 0x42;
  set.design.readRegisters(address, 0xF8, 3);
  const std::vector<std::int16_t> stopThenStart = set.design.ReadBuffer;
  set.design.repeatedStartReads = true;
  EXPECT_TRUE(set.design.readRegisters(address, 0xF8, 3));
  EXPECT_EQ(set.design.ReadBuffer, stopThenStart);
  EXPECT_EQ(set.design.ReadBuffer, (std::vector<std::int16_t>{0xB7, 0x3E, 0x02, 0x5C}));
  std::int16_t absent = 0x60;
  EXPECT_FALSE(set.design.readRegisters(absent, 0xF8, 0));
}

}  // namespace
}  // namespace brelvion::testing
