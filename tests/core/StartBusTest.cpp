#include <gtest/gtest.h>

#include "core/StartBus.h"
#include "support/EngineFixture.h"
#include "support/MarkedLines.h"
#include "trace/DebugLog.h"

namespace brelvion::testing {
namespace {

TEST(StartBusTest, OpensClearsAndDisablesTheDebuggerOnTheChosenPort) {
  EngineSet<RecordingPort> set;
  set.engine.setBusDelay(0.001);
  set.debuggerState.traceBufferSize = 1000;
  set.debuggerState.stopOnError = true;
  core::PortSelection selection{2, 0};

  core::startBus(set.engine, set.log, selection);

  EXPECT_EQ(set.core.cable()->dataPort(), 0x3BC);
  EXPECT_EQ(set.engine.ackTimeout(), 10);
  EXPECT_FALSE(set.log.enabled());
  EXPECT_EQ(selection.busOpen, 1);
  EXPECT_FALSE(set.debuggerState.stopOnError);
  EXPECT_EQ(set.debuggerState.traceBufferSize, 10);
  EXPECT_EQ(set.traceLines(),
            markedLines({"|", "Wisp SYS002: I2C bus opened on adress 3BCh        |",
                         "Wisp SYS001: I2C port initialised. Bus cleared and released|",
                         "Wisp95 V1.01 : debugger  DISABLED                 |"}));
}

TEST(StartBusTest, ASecondCallClosesTheBusFirstButTheDisabledDebuggerHidesIt) {
  EngineSet<RecordingPort> set;
  set.engine.setBusDelay(0.001);
  core::PortSelection selection;
  core::startBus(set.engine, set.log, selection);
  set.port.log.clear();
  selection.portIndex = 1;
  core::startBus(set.engine, set.log, selection);

  // The close restores LPT1's control register before the bus moves to LPT2.
  ASSERT_GE(set.port.log.size(), 3u);
  EXPECT_EQ(set.port.log[0].port, 0x37A);
  EXPECT_EQ(set.port.log[1].port, 0x378);
  EXPECT_EQ(set.port.log[2].port, 0x27A);
  EXPECT_EQ(set.trace.text().find("Wisp SYS003"), std::string::npos);
  const auto lines = set.traceLines();
  ASSERT_GE(lines.size(), 3u);
  EXPECT_EQ(lines[lines.size() - 3],
            markedLine("Wisp SYS002: I2C bus opened on adress 278h        |"));
}

TEST(StartBusTest, TheCloseIsLoggedWhenTheUserEnabledTheDebuggerInBetween) {
  EngineSet<RecordingPort> set;
  set.engine.setBusDelay(0.001);
  core::PortSelection selection;
  core::startBus(set.engine, set.log, selection);
  set.log.setEnabled(true);
  set.debuggerState.traceBufferSize = 1000;
  core::startBus(set.engine, set.log, selection);
  EXPECT_NE(set.trace.text().find("\r\nWisp SYS003 :I2C Bus closed                       \r\n"),
            std::string::npos);
}

}  // namespace
}  // namespace brelvion::testing
