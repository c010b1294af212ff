#include <gtest/gtest.h>

#include <string>

#include "simulator/SimulatedParallelPort.h"
#include "support/EngineFixture.h"
#include "support/MarkedLines.h"
#include "support/ScratchDirectory.h"
#include "trace/DebugLog.h"
#include "trace/TraceFile.h"

namespace brelvion::testing {
namespace {

using simulator::SimulatedBusConfig;
using simulator::SimulatedParallelPort;

// The log's own texts word for word; "Wisp95 V1.01 : debugger  DISABLED " with its two
// blanks is the design's wording.
TEST(TraceMessagesTest, TheLogsOwnTextsKeepTheirWordingAndBlanks) {
  EXPECT_EQ(trace::kDebuggerDisabledMessage, "Wisp95 V1.01 : debugger  DISABLED ");
  EXPECT_EQ(trace::kDebuggerEnabledMessage, "Wisp Debugger ENABLED ");
  EXPECT_EQ(trace::kStopOnErrorTitle, "Wisp Bus Monitor");
  EXPECT_EQ(trace::kTraceLineWidth, 50u);
  EXPECT_EQ(trace::kTraceLineBreak, "\r\n");
}

// The window's start-up switches the debugger on and the port list's startBus switches it
// off; a trace saved afterwards holds both lines as the user reads them in the file.
TEST(TraceMessagesTest, TheSwitchingLinesReachASavedTraceFilePadded) {
  EngineSet<SimulatedParallelPort> set;
  set.engine.setBusDelay(0.001);
  set.debuggerState.traceBufferSize = 10;
  set.engine.openBus(0, 1);
  set.engine.initPort(10);
  set.log.debuggerOn();
  set.engine.closeBus();
  set.log.debuggerOff();
  set.log.debuggerOn();  // disabled: says nothing

  ScratchDirectory scratch;
  const std::string path = scratch.file("start.WSP");
  trace::saveTraceFile(path, set.trace.text(), "test");
  EXPECT_EQ(readWhole(path),
            "\r\n"
            "Wisp SYS002: I2C bus opened on adress 378h        \r\n"
            "Wisp SYS001: I2C port initialised. Bus cleared and released\r\n"
            "Wisp Debugger ENABLED                             \r\n"
            "Wisp SYS003 :I2C Bus closed                       \r\n"
            "Wisp95 V1.01 : debugger  DISABLED                 \r\n");
}


TEST(TraceMessagesTest, StopOnErrorBoxesEachTimeoutOfARealWriteAsTraced) {
  EngineSet<NoDevicePort> set;
  set.engine.setBusDelay(0.001);
  set.debuggerState.traceBufferSize = 1000;
  set.debuggerState.stopOnError = true;
  set.engine.openBus(0, 1);
  set.engine.initPort(10);
  std::int16_t device = 0x42;
  set.design.writeRegister(device, 0x10, 0x5A);

  const std::string notResponding =
      "Error trapped\r\n" + markedLine("Wisp ERR001:  Device is not responding            |");
  const std::string noAck =
      "Error trapped\r\n" + markedLine("Wisp ERR002:  No ACK received                     |");
  ASSERT_EQ(set.desktop.boxes.size(), 3u);
  EXPECT_EQ(set.desktop.boxes[0].text, notResponding);
  EXPECT_EQ(set.desktop.boxes[1].text, noAck);
  EXPECT_EQ(set.desktop.boxes[2].text, noAck);
  for (const desktop::MessageBoxRequest& box : set.desktop.boxes) {
    EXPECT_EQ(box.title, "Wisp Bus Monitor");
    EXPECT_EQ(box.icon, desktop::MessageIcon::Critical);
    EXPECT_EQ(box.buttons, desktop::MessageButtons::Ok);
  }
}

}  // namespace
}  // namespace brelvion::testing
