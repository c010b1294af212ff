#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <cerrno>

#include "core/RegisterCommands.h"
#include "port/i2cdev/I2cDevAdapter.h"
#include "support/EngineFixture.h"
#include "support/FakeI2cDevSystemCalls.h"
#include "support/MarkedLines.h"

namespace brelvion::testing {
namespace {

using ::testing::ElementsAre;

// The adapter's master on i2c-3 of a fake kernel, a register device at 42h behind it, the
// debugger on.
class AdapterEngineTest : public ::testing::Test {
 protected:
  AdapterEngineTest() {
    calls.kernel.addAdapter(3, "CP2112 SMBus Bridge on hidraw0").devices[0x21];
    set.core.useAdapter(std::make_unique<port::i2cdev::I2cDevAdapter>(3, calls));
    set.debuggerState.traceBufferSize = 1000;
    set.engine.setBusDelay(0.001);
    set.core.master().openBus(0, 1);
    set.core.master().initPort(10);
  }
  i2c::TransferResult write(std::uint8_t device, std::uint8_t subAddress, std::uint8_t data) {
    return core::writeByteRegister(set.core.master(), device, subAddress, data);
  }
  bus::RegisterRead read(std::uint8_t device, std::uint8_t subAddress, std::size_t count) {
    return core::readByteRegisters(set.core.master(), pointerThen, device, subAddress, count);
  }
  // How the adapter refused a transfer: the first message it did not carry through.
  static std::optional<i2c::MessageOutcome> refusal(const i2c::TransferResult& result) {
    for (const i2c::MessageResult& message : result.messages) {
      if (message.outcome != i2c::MessageOutcome::Acknowledged) return message.outcome;
    }
    return std::nullopt;
  }
  // The lines after the opening two.
  std::vector<std::string> commandLines() const {
    const auto lines = set.traceLines();
    return {lines.begin() + 3, lines.end()};
  }
  void dropTrace() { set.trace.replaceText(""); }

  FakeI2cDevSystemCalls calls;
  EngineSet<RecordingPort> set;
  i2c::AfterMessage pointerThen = i2c::AfterMessage::Stop;
};

TEST_F(AdapterEngineTest, OpeningClearingAndClosingTouchNoPortAndNameTheAdapter) {
  set.core.master().closeBus();
  EXPECT_TRUE(set.port.log.empty());
  EXPECT_EQ(set.traceLines(),
            (std::vector<std::string>{"", markedLine("Wisp SYS002: I2C bus opened on adapter i2c-3      |"),
                                      markedLine("Wisp SYS001: I2C adapter ready, no lines to clear |"),
                                      markedLine("Wisp SYS003 :I2C Bus closed                       |")}));
  EXPECT_THAT(calls.kernel.log, ElementsAre("open /dev/i2c-3", "ioctl 3 I2C_FUNCS", "close 3"));
  // No port is chosen on the cable: the lines choose theirs when the bus opens on them again.
  EXPECT_EQ(set.core.cable()->dataPort(), 0);
}

TEST_F(AdapterEngineTest, EveryTransactionIsOneLineADriverCall) {
  write(0x43, 0x12, 0x80);
  const bus::RegisterRead three = read(0x43, 0x11, 3);
  EXPECT_TRUE(three.acknowledged());
  EXPECT_EQ(three.bytes, (std::vector<std::uint8_t>{0x9D, 0x80, 0xE7}));
  pointerThen = i2c::AfterMessage::RepeatedStart;
  const bus::RegisterRead one = read(0x43, 0x12, 1);
  EXPECT_TRUE(one.acknowledged());
  EXPECT_EQ(one.bytes, std::vector<std::uint8_t>{0x80});
  set.core.master().transfer({{0x43, false, {0x00}}});
  const i2c::TransferResult last = set.core.master().transfer({{0x43, true, {}, 1}});

  EXPECT_EQ(commandLines(), markedLines({
                                "Wisp MSG007:  i2c-3 W 42 12 80 ACK                |",
                                "Wisp MSG007:  i2c-3 W 42 11 ACK                   |",
                                "Wisp MSG007:  i2c-3 R 43 (3) 9D 80 E7 ACK         |",
                                "Wisp MSG007:  i2c-3 W 42 12 Sr R 43 (1) 80 ACK    |",
                                "Wisp MSG007:  i2c-3 W 42 00 ACK                   |",
                                "Wisp MSG007:  i2c-3 R 43 (1) 28 ACK               |",
                            }));
  EXPECT_TRUE(last.lastAcknowledged());
  EXPECT_TRUE(set.port.log.empty());
}

TEST_F(AdapterEngineTest, ARefusedCallEarnsAnErrorLineAndReadsNothing) {
  const bus::RegisterRead absent = read(0x60, 0x00, 2);
  EXPECT_FALSE(absent.acknowledged());
  EXPECT_TRUE(absent.bytes.empty());
  EXPECT_FALSE(absent.transfer.lastAcknowledged());
  calls.kernel.transferErrors = {ETIMEDOUT};
  EXPECT_EQ(refusal(write(0x42, 0x12, 0x80)), i2c::MessageOutcome::TimedOut);
  calls.kernel.transferErrors = {EAGAIN};
  write(0x42, 0x12, 0x80);

  EXPECT_EQ(commandLines(), markedLines({
                                "Wisp MSG007:  i2c-3 W 60 00 NO ACK                |",
                                "Wisp ERR003:  Transfer not acknowledged           |",
                                "Wisp MSG007:  i2c-3 W 42 12 80 TIMEOUT            |",
                                "Wisp ERR004:  Bus timeout                         |",
                                "Wisp MSG007:  i2c-3 W 42 12 80 ARBITRATION LOST   |",
                                "Wisp ERR005:  Arbitration lost                    |",
                            }));
  EXPECT_EQ(refusal(write(0x42, 0x12, 0x80)), std::nullopt);
}

TEST_F(AdapterEngineTest, StopOnErrorStopsAtARefusedCallAndWithoutTheDebuggerItBeeps) {
  set.debuggerState.stopOnError = true;
  write(0x60, 0x00, 0x00);
  ASSERT_EQ(set.desktop.boxes.size(), 1u);
  EXPECT_EQ(set.desktop.boxes[0].text,
            "Error trapped\r\n" + markedLine("Wisp ERR003:  Transfer not acknowledged           |"));
  EXPECT_EQ(set.desktop.boxes[0].title, "Wisp Bus Monitor");

  set.log.setEnabled(false);
  write(0x60, 0x00, 0x00);
  EXPECT_EQ(set.desktop.beeps, 1);
  EXPECT_EQ(set.desktop.boxes.size(), 1u);
}

TEST_F(AdapterEngineTest, SmbusCallsHaveALineOfTheirOwnAndAProbeIsNoError) {
  calls.kernel.adapters[3].functionality = I2C_FUNC_SMBUS_EMUL;
  set.core.master().closeBus();
  dropTrace();
  read(0x42, 0x12, 1);
  set.core.master().probe({i2c::I2cMessage{0x60, false, {}}});
  EXPECT_EQ(set.traceLines(), markedLines({"|",
                                           "Wisp MSG008:  i2c-3 SMBus W 42 12 Sr R 43 (1) C2 ACK|",
                                           "Wisp MSG008:  i2c-3 SMBus W 60 NO ACK             |"}));
  set.log.setEnabled(false);
  set.core.master().probe({i2c::I2cMessage{0x60, false, {}}});
  EXPECT_EQ(set.desktop.beeps, 0);
}

TEST_F(AdapterEngineTest, WithoutTheAdapterTheLinesCarryTheBusAgain) {
  set.core.useAdapter(nullptr);
  EXPECT_THAT(calls.kernel.log, ElementsAre("open /dev/i2c-3", "ioctl 3 I2C_FUNCS", "close 3"));
  write(0x42, 0x12, 0x80);
  EXPECT_FALSE(set.port.writes().empty());
}

}  // namespace
}  // namespace brelvion::testing
