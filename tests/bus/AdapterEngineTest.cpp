#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <cerrno>

#include "port/i2cdev/I2cDevAdapter.h"
#include "support/EngineFixture.h"
#include "support/FakeI2cDevSystemCalls.h"
#include "support/MarkedLines.h"

namespace brelvion::testing {
namespace {

using ::testing::ElementsAre;

// The engine on i2c-3 of a fake kernel, a register device at 42h behind it, the debugger on.
class AdapterEngineTest : public ::testing::Test {
 protected:
  AdapterEngineTest() {
    calls.kernel.addAdapter(3, "CP2112 SMBus Bridge on hidraw0").devices[0x21];
    set.core.useAdapter(std::make_unique<port::i2cdev::I2cDevAdapter>(3, calls));
    set.debuggerState.TraceBufferSize = 1000;
    set.busState.BusDelay = 0.001;
    set.engine.OpenBus(0, 1);
    set.engine.InitPort(10);
  }
  // The lines after the opening two.
  std::vector<std::string> commandLines() const {
    const auto lines = set.traceLines();
    return {lines.begin() + 3, lines.end()};
  }
  void dropTrace() { set.trace.replaceText(""); }

  FakeI2cDevSystemCalls calls;
  EngineSet<RecordingPort> set;
};

TEST_F(AdapterEngineTest, OpeningClearingAndClosingTouchNoPortAndNameTheAdapter) {
  set.engine.CloseBus();
  EXPECT_TRUE(set.port.log.empty());
  EXPECT_EQ(set.traceLines(),
            (std::vector<std::string>{"", markedLine("Wisp SYS002: I2C bus opened on adapter i2c-3      |"),
                                      markedLine("Wisp SYS001: I2C adapter ready, no lines to clear |"),
                                      markedLine("Wisp SYS003 :I2C Bus closed                       |")}));
  EXPECT_THAT(calls.kernel.log, ElementsAre("open /dev/i2c-3", "ioctl 3 I2C_FUNCS", "close 3"));
  // The port chosen is kept for a return to the lines.
  EXPECT_EQ(set.busState.DataPort, 0x378);
}

TEST_F(AdapterEngineTest, EveryTransactionIsOneLineADriverCall) {
  std::int16_t address = 0x43;
  set.engine.WriteRegister(address, 0x12, 0x80);
  EXPECT_EQ(address, 0x42);
  EXPECT_TRUE(set.engine.ReadRegisters(address, 0x11, 2));
  EXPECT_EQ(address, 0x43);
  EXPECT_EQ(set.busState.ReadBuffer, (std::vector<std::int16_t>{0x9D, 0x80, 0xE7}));
  set.busState.RepeatedStartReads = true;
  EXPECT_TRUE(set.engine.ReadRegisters(address, 0x12, 0));
  EXPECT_EQ(set.busState.ReadBuffer, std::vector<std::int16_t>{0x80});
  set.engine.SetRegisterPointer(address, 0x00);
  set.engine.ReadSequential(address, 0);

  EXPECT_EQ(commandLines(), markedLines({
                                "Wisp MSG007:  i2c-3 W 42 12 80 ACK                |",
                                "Wisp MSG007:  i2c-3 W 42 11 ACK                   |",
                                "Wisp MSG007:  i2c-3 R 43 (3) 9D 80 E7 ACK         |",
                                "Wisp MSG007:  i2c-3 W 42 12 Sr R 43 (1) 80 ACK    |",
                                "Wisp MSG007:  i2c-3 W 42 00 ACK                   |",
                                "Wisp MSG007:  i2c-3 R 43 (1) 28 ACK               |",
                            }));
  EXPECT_TRUE(set.busState.AckReceived);
  EXPECT_TRUE(set.port.log.empty());
}

TEST_F(AdapterEngineTest, ARefusedCallEarnsAnErrorLineAndReadsNothing) {
  std::int16_t absent = 0x60;
  EXPECT_FALSE(set.engine.ReadRegisters(absent, 0x00, 1));
  EXPECT_TRUE(set.busState.ReadBuffer.empty());
  EXPECT_FALSE(set.busState.AckReceived);
  calls.kernel.transferErrors = {ETIMEDOUT};
  std::int16_t address = 0x42;
  set.engine.WriteRegister(address, 0x12, 0x80);
  EXPECT_EQ(set.engine.lastAdapterRefusal(), port::MessageOutcome::TimedOut);
  calls.kernel.transferErrors = {EAGAIN};
  set.engine.WriteRegister(address, 0x12, 0x80);

  EXPECT_EQ(commandLines(), markedLines({
                                "Wisp MSG007:  i2c-3 W 60 00 NO ACK                |",
                                "Wisp ERR003:  Transfer not acknowledged           |",
                                "Wisp MSG007:  i2c-3 W 42 12 80 TIMEOUT            |",
                                "Wisp ERR004:  Bus timeout                         |",
                                "Wisp MSG007:  i2c-3 W 42 12 80 ARBITRATION LOST   |",
                                "Wisp ERR005:  Arbitration lost                    |",
                            }));
  set.engine.WriteRegister(address, 0x12, 0x80);
  EXPECT_EQ(set.engine.lastAdapterRefusal(), std::nullopt);
}

TEST_F(AdapterEngineTest, StopOnErrorStopsAtARefusedCallAndWithoutTheDebuggerItBeeps) {
  set.debuggerState.StopOnError = true;
  std::int16_t absent = 0x60;
  set.engine.WriteRegister(absent, 0x00, 0x00);
  ASSERT_EQ(set.desktop.boxes.size(), 1u);
  EXPECT_EQ(set.desktop.boxes[0].text,
            "Error trapped\r\n" + markedLine("Wisp ERR003:  Transfer not acknowledged           |"));
  EXPECT_EQ(set.desktop.boxes[0].title, "Wisp Bus Monitor");

  set.busState.DebugEnabled = 0;
  set.engine.WriteRegister(absent, 0x00, 0x00);
  EXPECT_EQ(set.desktop.beeps, 1);
  EXPECT_EQ(set.desktop.boxes.size(), 1u);
}

TEST_F(AdapterEngineTest, SmbusCallsHaveALineOfTheirOwnAndAProbeIsNoError) {
  calls.kernel.adapters[3].functionality = I2C_FUNC_SMBUS_EMUL;
  set.engine.CloseBus();
  dropTrace();
  std::int16_t address = 0x42;
  set.engine.ReadRegisters(address, 0x12, 0);
  set.engine.probe({port::I2cMessage{0x60, false, {}}});
  EXPECT_EQ(set.traceLines(), markedLines({"|",
                                           "Wisp MSG008:  i2c-3 SMBus W 42 12 Sr R 43 (1) C2 ACK|",
                                           "Wisp MSG008:  i2c-3 SMBus W 60 NO ACK             |"}));
  set.busState.DebugEnabled = 0;
  set.engine.probe({port::I2cMessage{0x60, false, {}}});
  EXPECT_EQ(set.desktop.beeps, 0);
}

TEST_F(AdapterEngineTest, WithoutTheAdapterTheLinesCarryTheBusAgain) {
  set.core.useAdapter(nullptr);
  EXPECT_THAT(calls.kernel.log, ElementsAre("open /dev/i2c-3", "ioctl 3 I2C_FUNCS", "close 3"));
  std::int16_t address = 0x42;
  set.engine.WriteRegister(address, 0x12, 0x80);
  EXPECT_FALSE(set.port.writes().empty());
}

}  // namespace
}  // namespace brelvion::testing
