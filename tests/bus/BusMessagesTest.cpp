#include <gtest/gtest.h>

#include <string_view>
#include <utility>

#include "bus/BusMessages.h"
#include "simulator/SimulatedParallelPort.h"
#include "support/EngineFixture.h"
#include "support/MarkedLines.h"

namespace brelvion::testing {
namespace {

using simulator::SimulatedBusConfig;
using simulator::SimulatedParallelPort;

// The bus engine's messages word for word. The other tests may build their expectations
// from these constants, so a blank lost here would pass them all; the odd ones ("adress",
// "SYS003 :", "WISP MSG:") are the design's own wording.
TEST(BusMessagesTest, EveryMessageKeepsItsWordingAndBlanks) {
  const std::pair<std::string_view, std::string_view> messages[] = {
      {bus::kMsgStart, "Wisp MSG001:  Generating START on bus "},
      {bus::kMsgStop, "Wisp MSG002:  Generating STOP on bus "},
      {bus::kMsgWaitAck, "Wisp MSG003:  Waiting for ACKNOWLEDGE "},
      {bus::kMsgTransmit, "Wisp MSG004:  Transmitting data byte on bus "},
      {bus::kMsgReceivePrefix, "Wisp MSG005:  Receiving data from slave :"},
      {bus::kMsgMasterAck, "WISP MSG:   Giving ACK"},
      {bus::kErrNotResponding, "Wisp ERR001:  Device is not responding "},
      {bus::kErrNoAck, "Wisp ERR002:  No ACK received"},
      {bus::kSysInitialised, "Wisp SYS001: I2C port initialised. Bus cleared and released"},
      {bus::kSysOpenedPrefix, "Wisp SYS002: I2C bus opened on adress "},
      {bus::kSysClosed, "Wisp SYS003 :I2C Bus closed "},
  };
  for (const auto& [constant, literal] : messages) EXPECT_EQ(constant, literal);
}


// The bus opened with the debugger enabled and room for every line.
template <typename Port>
void openTraced(EngineSet<Port>& set) {
  set.engine.setBusDelay(0.001);
  set.debuggerState.traceBufferSize = 1000;
  set.engine.openBus(0, 1);
  set.engine.initPort(10);
}

TEST(BusMessagesTest, AWriteAndItsReadBackAsTheTraceShowsThem) {
  EngineSet<SimulatedParallelPort> set;
  openTraced(set);
  std::int16_t device = 0x42;
  set.design.writeRegister(device, 0x10, 0x5A);
  // The sensor's chip id, B7h 3Eh, in its two read-only registers.
  set.design.setRegisterPointer(device, 0xF8);
  set.design.readSequential(device, 1);
  set.engine.closeBus();

  const std::vector<std::string> expected = markedLines({
      "|",
      "Wisp SYS002: I2C bus opened on adress 378h        |",
      "Wisp SYS001: I2C port initialised. Bus cleared and released|",
      // writeRegister: address, sub address and data, each acknowledged.
      "Wisp MSG001:  Generating START on bus             |",
      "Wisp MSG004:  Transmitting data byte on bus       |",
      "Wisp MSG003:  Waiting for ACKNOWLEDGE             |",
      "Wisp MSG004:  Transmitting data byte on bus       |",
      "Wisp MSG003:  Waiting for ACKNOWLEDGE             |",
      "Wisp MSG004:  Transmitting data byte on bus       |",
      "Wisp MSG003:  Waiting for ACKNOWLEDGE             |",
      "Wisp MSG002:  Generating STOP on bus              |",
      // setRegisterPointer.
      "Wisp MSG001:  Generating START on bus             |",
      "Wisp MSG004:  Transmitting data byte on bus       |",
      "Wisp MSG003:  Waiting for ACKNOWLEDGE             |",
      "Wisp MSG004:  Transmitting data byte on bus       |",
      "Wisp MSG003:  Waiting for ACKNOWLEDGE             |",
      "Wisp MSG002:  Generating STOP on bus              |",
      // readSequential of two bytes: only the first gets the master's acknowledge.
      "Wisp MSG001:  Generating START on bus             |",
      "Wisp MSG004:  Transmitting data byte on bus       |",
      "Wisp MSG003:  Waiting for ACKNOWLEDGE             |",
      "Wisp MSG005:  Receiving data from slave :B7h      |",
      "WISP MSG:   Giving ACK                            |",
      "Wisp MSG005:  Receiving data from slave :3Eh      |",
      "Wisp MSG002:  Generating STOP on bus              |",
      "Wisp SYS003 :I2C Bus closed                       |",
  });
  EXPECT_EQ(set.traceLines(), expected);
  EXPECT_TRUE(set.desktop.boxes.empty());
}

TEST(BusMessagesTest, AWriteNobodyAnswersTracesTheAddressAndTheLaterBytesApart) {
  EngineSet<NoDevicePort> set;
  openTraced(set);
  set.trace.replaceText("");
  std::int16_t device = 0x42;
  set.design.writeRegister(device, 0x10, 0x5A);

  EXPECT_EQ(set.traceLines(), markedLines({
                                  "|",
                                  "Wisp MSG001:  Generating START on bus             |",
                                  "Wisp MSG004:  Transmitting data byte on bus       |",
                                  "Wisp MSG003:  Waiting for ACKNOWLEDGE             |",
                                  "Wisp ERR001:  Device is not responding            |",
                                  "Wisp MSG004:  Transmitting data byte on bus       |",
                                  "Wisp MSG003:  Waiting for ACKNOWLEDGE             |",
                                  "Wisp ERR002:  No ACK received                     |",
                                  "Wisp MSG004:  Transmitting data byte on bus       |",
                                  "Wisp MSG003:  Waiting for ACKNOWLEDGE             |",
                                  "Wisp ERR002:  No ACK received                     |",
                                  "Wisp MSG002:  Generating STOP on bus              |",
                              }));
  EXPECT_EQ(set.desktop.beeps, 0) << "a traced timeout does not beep";
}

}  // namespace
}  // namespace brelvion::testing
