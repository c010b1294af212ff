#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "core/PortSwitch.h"
#include "core/RegisterCommands.h"
#include "support/EngineFixture.h"
#include "support/FakeI2cDevSystemCalls.h"
#include "support/MarkedLines.h"

namespace brelvion::testing {
namespace {

using ::testing::ElementsAre;

struct Switching {
  Switching() {
    calls.kernel.addAdapter(3, "CP2112 SMBus Bridge on hidraw0").devices[0x21];
    set.engine.setBusDelay(0.001);
    set.core.startBus();
    set.log.setEnabled(true);
    set.debuggerState.traceBufferSize = 1000;
    set.port.log.clear();
    set.trace.replaceText("");
  }
  FakeI2cDevSystemCalls calls;
  EngineSet<RecordingPort> set;
  core::AdapterFactory factory = core::systemAdapters(calls);
};

TEST(PortSwitchTest, AnAdapterTakesTheBusAfterTheParallelPortIsClosed) {
  Switching s;
  core::switchPort(s.set.core, port::PortChoice::i2cDev(3), s.factory);

  // LPT1's control register is restored, and nothing else touches the port.
  EXPECT_EQ(s.set.port.log, (std::vector<RecordingPort::Access>{
                                {RecordingPort::Kind::Write, 0x37A, 0xFF},
                                {RecordingPort::Kind::Write, 0x378, 0x7F}}));
  EXPECT_EQ(s.set.traceLines(), markedLines({"|",
                                             "Wisp SYS003 :I2C Bus closed                       |",
                                             "Wisp SYS002: I2C bus opened on adapter i2c-3      |",
                                             "Wisp SYS001: I2C adapter ready, no lines to clear |",
                                             "Wisp95 V1.01 : debugger  DISABLED                 |"}));
  ASSERT_NE(s.set.core.adapter(), nullptr);
  EXPECT_EQ(s.set.core.adapter()->description(), "i2c-3, CP2112 SMBus Bridge on hidraw0");
  EXPECT_EQ(s.set.core.ports().busOpen, 1);
  core::writeByteRegister(s.set.core.master(), 0x42, 0x12, 0x80);
  EXPECT_EQ(s.calls.kernel.adapters[3].devices[0x21].registers[0x12], 0x80);
}

TEST(PortSwitchTest, BackToAnLptPortTheAdapterIsClosedAndTheLinesStartAsEver) {
  Switching s;
  core::switchPort(s.set.core, port::PortChoice::i2cDev(3), s.factory);
  s.set.port.log.clear();
  core::switchPort(s.set.core, port::PortChoice::lpt(1), s.factory);
  EXPECT_EQ(s.set.core.adapter(), nullptr);
  EXPECT_EQ(s.set.core.ports().portIndex, 1);
  EXPECT_EQ(s.calls.kernel.log.back(), "close 3");
  EXPECT_EQ(s.set.core.cable()->dataPort(), 0x278);
  ASSERT_FALSE(s.set.port.log.empty());
  EXPECT_EQ(s.set.port.log[0].port, 0x27A) << "the adapter's close touches no port";
}

TEST(PortSwitchTest, BetweenLptPortsItIsTheSameAsChoosingThePortAlwaysWas) {
  Switching switched;
  Switching chosen;
  core::switchPort(switched.set.core, port::PortChoice::lpt(2), switched.factory);
  chosen.set.core.ports().portIndex = 2;
  chosen.set.core.startBus();
  EXPECT_EQ(switched.set.port.log, chosen.set.port.log);
  EXPECT_EQ(switched.set.trace.text(), chosen.set.trace.text());
  EXPECT_TRUE(switched.calls.kernel.log.empty());
}

}  // namespace
}  // namespace brelvion::testing
