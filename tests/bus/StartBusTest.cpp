#include <gtest/gtest.h>

#include "bus/BusMessages.h"
#include "bus/StartBus.h"
#include "debugger/DebugLog.h"
#include "mocks/EngineFixture.h"

namespace brelvion::testing {
namespace {

using debugger::padTraceLine;

TEST(StartBusTest, OpensClearsAndDisablesTheDebuggerOnTheChosenPort) {
  EngineSet<RecordingPort> set;
  set.busState.BusDelay = 0.001;
  set.debuggerState.TraceBufferSize = 1000;
  set.debuggerState.StopOnError = true;
  bus::PortSelection selection{2, 0};

  bus::StartBus(set.engine, selection, set.debuggerState);

  EXPECT_EQ(set.busState.DataPort, 0x3BC);
  EXPECT_EQ(set.busState.AckTimeout, 10);
  EXPECT_EQ(set.busState.DebugEnabled, 0);
  EXPECT_EQ(selection.BusOpen, 1);
  EXPECT_FALSE(set.debuggerState.StopOnError);
  EXPECT_EQ(set.debuggerState.TraceBufferSize, 10);
  EXPECT_EQ(set.traceLines(),
            (std::vector<std::string>{"", padTraceLine(std::string(bus::kSysOpenedPrefix) + "3BCh"),
                                      std::string(bus::kSysInitialised),
                                      padTraceLine(debugger::kDebuggerDisabledMessage)}));
}

TEST(StartBusTest, ASecondCallClosesTheBusFirstButTheDisabledDebuggerHidesIt) {
  EngineSet<RecordingPort> set;
  set.busState.BusDelay = 0.001;
  bus::PortSelection selection;
  bus::StartBus(set.engine, selection, set.debuggerState);
  set.port.log.clear();
  selection.PortIndex = 1;
  bus::StartBus(set.engine, selection, set.debuggerState);

  // The close restores LPT1's control register before the bus moves to LPT2.
  ASSERT_GE(set.port.log.size(), 3u);
  EXPECT_EQ(set.port.log[0].port, 0x37A);
  EXPECT_EQ(set.port.log[1].port, 0x378);
  EXPECT_EQ(set.port.log[2].port, 0x27A);
  EXPECT_EQ(set.trace.text().find(bus::kSysClosed), std::string::npos);
  const auto lines = set.traceLines();
  ASSERT_GE(lines.size(), 3u);
  EXPECT_EQ(lines[lines.size() - 3], padTraceLine(std::string(bus::kSysOpenedPrefix) + "278h"));
}

TEST(StartBusTest, TheCloseIsLoggedWhenTheUserEnabledTheDebuggerInBetween) {
  EngineSet<RecordingPort> set;
  set.busState.BusDelay = 0.001;
  bus::PortSelection selection;
  bus::StartBus(set.engine, selection, set.debuggerState);
  set.busState.DebugEnabled = 1;
  set.debuggerState.TraceBufferSize = 1000;
  bus::StartBus(set.engine, selection, set.debuggerState);
  EXPECT_NE(set.trace.text().find(bus::kSysClosed), std::string::npos);
}

}  // namespace
}  // namespace brelvion::testing
