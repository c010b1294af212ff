#include <gtest/gtest.h>

#include "support/EngineFixture.h"

namespace brelvion::testing {
namespace {

using Kind = RecordingPort::Kind;

class LineStepsTest : public ::testing::Test {
 protected:
  void SetUp() override {
    set.engine.setBusDelay(0.001);
    set.engine.openBus(0, 0);
    set.port.log.clear();
  }
  EngineSet<RecordingPort> set;
};

TEST_F(LineStepsTest, BitDelayPassCountFollowsTheDelayInclusively) {
  const std::vector<std::pair<double, std::size_t>> cases{{0.001, 2},   {0.0, 1},    {-0.002, 0},
                                                          {-0.0005, 0}, {0.0025, 3}, {0.01, 11}};
  for (const auto& [delay, passes] : cases) {
    set.port.log.clear();
    set.engine.bitDelay(delay);
    EXPECT_EQ(set.port.waits(), passes) << "delay " << delay;
    EXPECT_TRUE(set.port.writes().empty());
  }
}

TEST_F(LineStepsTest, InitPortClocksSixStopsThenReleasesScl) {
  set.engine.initPort(10);

  const std::vector<RecordingPort::Access> pulse{{Kind::Write, 0x378, 0xFF},
                                                 {Kind::Write, 0x37A, 0x08},
                                                 {Kind::Write, 0x378, 0x7F},
                                                 {Kind::Write, 0x37A, 0x00}};
  std::vector<RecordingPort::Access> expected;
  for (int i = 0; i < 6; ++i) expected.insert(expected.end(), pulse.begin(), pulse.end());
  expected.push_back({Kind::Write, 0x37A, 0x08});
  EXPECT_EQ(set.port.writes(), expected);
  EXPECT_EQ(set.port.waits(), 25u * 2);
  EXPECT_EQ(set.engine.ackTimeout(), 10);
  EXPECT_TRUE(set.port.readsDone().empty());
}

TEST_F(LineStepsTest, EveryStepIsOneWriteFollowedByItsOwnDelay) {
  set.engine.initPort(10);
  for (std::size_t i = 0; i < set.port.log.size(); i += 3) {
    EXPECT_EQ(set.port.log[i].kind, Kind::Write) << i;
    EXPECT_EQ(set.port.log[i + 1].kind, Kind::Wait) << i;
    EXPECT_EQ(set.port.log[i + 2].kind, Kind::Wait) << i;
  }
}

TEST_F(LineStepsTest, InitPortLogsOnlyWhileTheDebuggerIsEnabled) {
  set.engine.initPort(10);
  EXPECT_FALSE(set.trace.exists());

  set.log.setEnabled(true);
  set.debuggerState.traceBufferSize = 10;
  set.engine.initPort(10);
  // Longer than the line width: neither padded nor cut.
  EXPECT_EQ(set.trace.text(), "\r\nWisp SYS001: I2C port initialised. Bus cleared and released");
}

}  // namespace
}  // namespace brelvion::testing
