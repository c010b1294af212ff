#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <cerrno>

#include "port/i2cdev/I2cDevAdapter.h"
#include "support/FakeI2cDevSystemCalls.h"
#include "support/RaisesRuntimeError.h"

namespace brelvion::port::i2cdev {
namespace {

using ::testing::ElementsAre;
using testing::raisesRuntimeError;

// What i2c-stub offers: SMBus calls only.
constexpr unsigned long kStubFunctionality =
    I2C_FUNC_SMBUS_QUICK | I2C_FUNC_SMBUS_BYTE | I2C_FUNC_SMBUS_BYTE_DATA |
    I2C_FUNC_SMBUS_WORD_DATA | I2C_FUNC_SMBUS_BLOCK_DATA | I2C_FUNC_SMBUS_I2C_BLOCK;

i2c::I2cMessage writeTo(std::vector<std::uint8_t> bytes, i2c::AfterMessage after = i2c::AfterMessage::Stop) {
  i2c::I2cMessage message{0x42, false, std::move(bytes)};
  message.after = after;
  return message;
}
i2c::I2cMessage readOf(std::size_t length) { return i2c::I2cMessage{0x43, true, {}, length}; }

class SmbusTransfersTest : public ::testing::Test {
 protected:
  SmbusTransfersTest() {
    calls.kernel.addAdapter(1, "SMBus stub driver", kStubFunctionality).devices[0x21];
    adapter.setTransferListener([this](const AdapterTransfer& done) { reported.push_back(done); });
    adapter.open();
    calls.kernel.log.clear();
  }

  testing::FakeI2cDevSystemCalls calls;
  I2cDevAdapter adapter{1, calls};
  std::vector<AdapterTransfer> reported;
};

TEST_F(SmbusTransfersTest, RegisterWritesAndReadsAreTheSmbusCallsThatDoTheSameJob) {
  EXPECT_TRUE(adapter.transfer({writeTo({0x12, 0x80})}).acknowledged());
  EXPECT_TRUE(adapter.transfer({writeTo({0x12})}).acknowledged());
  const i2c::TransferResult single = adapter.transfer({readOf(1)});
  // Pointer then read, STOP or repeated START between them: read byte data either way.
  const i2c::TransferResult pair = adapter.transfer({writeTo({0x12}), readOf(1)});

  EXPECT_THAT(calls.kernel.log,
              ElementsAre("ioctl 3 I2C_SLAVE_FORCE 21", "ioctl 3 I2C_SMBUS write BYTE_DATA 12 80",
                          "ioctl 3 I2C_SMBUS write BYTE 12", "ioctl 3 I2C_SMBUS read BYTE 00",
                          "ioctl 3 I2C_SMBUS read BYTE_DATA 12"));
  EXPECT_EQ(single.messages[0].bytes, (std::vector<std::uint8_t>{0x80}));
  EXPECT_EQ(pair.messages[1].bytes, (std::vector<std::uint8_t>{0x80}));
  ASSERT_EQ(reported.size(), 4u);
  EXPECT_EQ(reported[3].call, AdapterCall::Smbus);
  EXPECT_EQ(reported[3].messages.size(), 2u);
  EXPECT_EQ(reported[3].messages[0].after, i2c::AfterMessage::RepeatedStart);
}

TEST_F(SmbusTransfersTest, ALongerReadIsI2cBlockReadsOfAtMost32FromTheRegisterOn) {
  const i2c::TransferResult result = adapter.transfer({writeTo({0xF0}), readOf(70)});
  EXPECT_THAT(calls.kernel.log, ElementsAre("ioctl 3 I2C_SLAVE_FORCE 21",
                                            "ioctl 3 I2C_SMBUS read I2C_BLOCK_DATA F0 32",
                                            "ioctl 3 I2C_SMBUS read I2C_BLOCK_DATA 10 32",
                                            "ioctl 3 I2C_SMBUS read I2C_BLOCK_DATA 30 6"));
  ASSERT_EQ(result.messages[1].bytes.size(), 70u);
  EXPECT_EQ(result.messages[1].bytes[16], 0x28);  // register 00h, after FFh
  EXPECT_EQ(reported.size(), 3u);

  // Without block reads: read byte data, register by register.
  calls.kernel.adapters[1].functionality = I2C_FUNC_SMBUS_BYTE_DATA;
  adapter.close();
  calls.kernel.log.clear();
  EXPECT_EQ(adapter.transfer({writeTo({0x00}), readOf(3)}).messages[1].bytes,
            (std::vector<std::uint8_t>{0x28, 0x4D, 0x72}));
  EXPECT_THAT(std::vector<std::string>(calls.kernel.log.begin() + 3, calls.kernel.log.end()),
              ElementsAre("ioctl 4 I2C_SMBUS read BYTE_DATA 00", "ioctl 4 I2C_SMBUS read BYTE_DATA 01",
                          "ioctl 4 I2C_SMBUS read BYTE_DATA 02"));
}

TEST_F(SmbusTransfersTest, ABlockRefusedMidWayKeepsOnlyTheBytesBeforeIt) {
  calls.kernel.transferErrors = {0, ENXIO};
  const i2c::TransferResult result = adapter.transfer({writeTo({0x00}), readOf(70)});
  EXPECT_EQ(result.messages[0].outcome, i2c::MessageOutcome::Acknowledged);
  EXPECT_EQ(result.messages[1].outcome, i2c::MessageOutcome::NotAcknowledged);
  EXPECT_EQ(result.messages[1].bytes.size(), 32u);
  EXPECT_EQ(calls.kernel.log.size(), 3u);

  calls.kernel.transferErrors = {ETIMEDOUT};
  const i2c::TransferResult first = adapter.transfer({writeTo({0x00}), readOf(70)});
  EXPECT_EQ(first.messages[0].outcome, i2c::MessageOutcome::TimedOut);
  EXPECT_TRUE(first.messages[1].bytes.empty());
}

// A 16-bit register's write (two address bytes, then the value): the SMBus call the adapter
// has that sends those bytes, before any refusal.
TEST_F(SmbusTransfersTest, WiderRegisterWritesAreWordDataOrI2cBlockWrites) {
  struct Case {
    const char* name;
    unsigned long functionality;
    std::vector<std::uint8_t> bytes;
    const char* call;
  };
  const std::vector<Case> cases{
      {"two data bytes", kStubFunctionality, {0x01, 0x00, 0x12}, "write WORD_DATA 01 1200"},
      {"two data bytes, no word data", I2C_FUNC_SMBUS_WRITE_I2C_BLOCK, {0x01, 0x00, 0x12},
       "write I2C_BLOCK_DATA 01 2 00 12"},
      {"three data bytes", kStubFunctionality, {0x02, 0x00, 0xAB, 0xCD},
       "write I2C_BLOCK_DATA 02 3 00 AB CD"},
  };
  for (const Case& c : cases) {
    calls.kernel.adapters[1].functionality = c.functionality;
    calls.kernel.adapters[1].devices[0x21] = {};
    adapter.close();
    calls.kernel.log.clear();
    EXPECT_TRUE(adapter.transfer({writeTo(c.bytes)}).acknowledged()) << c.name;
    EXPECT_THAT(calls.kernel.log.back(), ::testing::EndsWith(std::string(" I2C_SMBUS ") + c.call))
        << c.name;
    const auto& registers = calls.kernel.adapters[1].devices[0x21].registers;
    EXPECT_TRUE(std::equal(c.bytes.begin() + 1, c.bytes.end(), registers.begin() + c.bytes[0]))
        << c.name;
  }
  calls.kernel.adapters[1].functionality = I2C_FUNC_SMBUS_READ_I2C_BLOCK;
  adapter.close();
  EXPECT_THAT([&] { adapter.transfer({writeTo({0x01, 0x00, 0x12})}); },
              raisesRuntimeError(5, "i2c-1 cannot do SMBus write word data or I2C block write"));
}

TEST_F(SmbusTransfersTest, WhatNoSmbusCallDoesIsAnErrorNamingIt) {
  EXPECT_THAT([&] { adapter.transfer({readOf(4)}); },
              raisesRuntimeError(5, "i2c-1 has only SMBus calls (no I2C_FUNC_I2C), and none of "
                                    "them does R 43 (4)"));
  // A command byte and 33 data bytes: one more than an I2C block write takes.
  const std::vector<std::uint8_t> tooLong(34, 0x5A);
  EXPECT_THAT([&] { adapter.transfer({writeTo(tooLong)}); },
              raisesRuntimeError(5, "none of them does W 42 (34) 5A 5A"));
  calls.kernel.adapters[1].functionality = I2C_FUNC_SMBUS_READ_BYTE;
  adapter.close();
  EXPECT_THAT([&] { adapter.transfer({writeTo({0x12, 0x80})}); },
              raisesRuntimeError(5, "i2c-1 cannot do SMBus write byte data, which W 42 12 80 needs"));
  EXPECT_TRUE(calls.kernel.log.back().find("I2C_SMBUS") == std::string::npos);
}

}  // namespace
}  // namespace brelvion::port::i2cdev
