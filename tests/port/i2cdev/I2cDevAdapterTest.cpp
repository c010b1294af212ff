#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <cerrno>

#include "port/i2cdev/I2cDevAdapter.h"
#include "support/FakeI2cDevSystemCalls.h"
#include "support/RaisesRuntimeError.h"

namespace brelvion::port::i2cdev {
namespace {

using ::testing::ElementsAre;
using testing::raisesRuntimeError;

i2c::I2cMessage writeTo(std::uint8_t address, std::vector<std::uint8_t> bytes,
                   i2c::AfterMessage after = i2c::AfterMessage::Stop) {
  i2c::I2cMessage message{address, false, std::move(bytes)};
  message.after = after;
  return message;
}
i2c::I2cMessage readFrom(std::uint8_t address, std::size_t length) {
  return i2c::I2cMessage{address, true, {}, length};
}

class I2cDevAdapterTest : public ::testing::Test {
 protected:
  I2cDevAdapterTest() {
    calls.kernel.addAdapter(3, "CP2112 SMBus Bridge on hidraw0").devices[0x21];
    adapter.setTransferListener([this](const AdapterTransfer& done) { reported.push_back(done); });
  }
  std::vector<std::string> logAfterOpen() const {
    return {calls.kernel.log.begin() + 2, calls.kernel.log.end()};
  }
  testing::FakeRegisterDevice& sensor() { return calls.kernel.adapters[3].devices[0x21]; }

  testing::FakeI2cDevSystemCalls calls;
  I2cDevAdapter adapter{3, calls};
  std::vector<AdapterTransfer> reported;
};

TEST_F(I2cDevAdapterTest, OpensAtTheFirstTransferAndEachRunUpToAStopIsOneCall) {
  EXPECT_TRUE(calls.kernel.log.empty());
  const i2c::TransferResult result = adapter.transfer({writeTo(0x42, {0x00}), readFrom(0x43, 2)});

  EXPECT_THAT(calls.kernel.log,
              ElementsAre("open /dev/i2c-3", "ioctl 3 I2C_FUNCS", "ioctl 3 I2C_RDWR 21/0000/1 [00]",
                          "ioctl 3 I2C_RDWR 21/0001/2"));
  ASSERT_TRUE(result.acknowledged());
  EXPECT_EQ(result.messages[1].bytes, (std::vector<std::uint8_t>{0x28, 0x4D}));
  ASSERT_EQ(reported.size(), 2u);
  EXPECT_EQ(reported[1].call, AdapterCall::Combined);
  EXPECT_EQ(reported[1].results[0].bytes, (std::vector<std::uint8_t>{0x28, 0x4D}));
  EXPECT_EQ(adapter.name(), "i2c-3");
  EXPECT_EQ(adapter.description(), "i2c-3, CP2112 SMBus Bridge on hidraw0");
}

TEST_F(I2cDevAdapterTest, ARepeatedStartJoinsMessagesIntoOneCallAndWritesReachTheDevice) {
  adapter.transfer({writeTo(0x42, {0x12, 0x80})});
  adapter.transfer({writeTo(0x42, {0x11}, i2c::AfterMessage::RepeatedStart), readFrom(0x43, 3)});

  EXPECT_THAT(logAfterOpen(), ElementsAre("ioctl 3 I2C_RDWR 21/0000/2 [12 80]",
                                          "ioctl 3 I2C_RDWR 21/0000/1 [11] 21/0001/3"));
  EXPECT_EQ(sensor().registers[0x12], 0x80);
  EXPECT_EQ(reported.back().results[1].bytes, (std::vector<std::uint8_t>{0x9D, 0x80, 0xE7}));
}

TEST_F(I2cDevAdapterTest, KeepsToTheKernelsLimitsAndShowsEverySplit) {
  // 20000 bytes: three reads of at most 8192, joined by repeated STARTs in one call.
  const i2c::TransferResult big =
      adapter.transfer({writeTo(0x42, {0x00}, i2c::AfterMessage::RepeatedStart), readFrom(0x43, 20000)});
  EXPECT_THAT(logAfterOpen(),
              ElementsAre("ioctl 3 I2C_RDWR 21/0000/1 [00] 21/0001/8192 21/0001/8192 21/0001/3616"));
  ASSERT_EQ(big.messages[1].bytes.size(), 20000u);
  EXPECT_EQ(big.messages[1].bytes[256], 0x28);  // the pointer wrapped round to register 00h
  EXPECT_EQ(reported.back().messages.size(), 4u);

  // 45 messages joined by repeated STARTs: 42 in one call, the other 3 in the next.
  std::vector<i2c::I2cMessage> many(45, writeTo(0x42, {0x10}, i2c::AfterMessage::RepeatedStart));
  calls.kernel.log.clear();
  EXPECT_TRUE(adapter.transfer(many).acknowledged());
  ASSERT_EQ(calls.kernel.log.size(), 2u);
  EXPECT_EQ(std::count(calls.kernel.log[0].begin(), calls.kernel.log[0].end(), '/'), 84);
  EXPECT_EQ(std::count(calls.kernel.log[1].begin(), calls.kernel.log[1].end(), '/'), 6);

  EXPECT_THAT([&] { adapter.transfer({writeTo(0x42, std::vector<std::uint8_t>(8193))}); },
              raisesRuntimeError(5, "i2c-3 cannot write more than 8192 bytes in one message"));
}

TEST_F(I2cDevAdapterTest, TheBusRefusingATransferIsAnOutcomeWithNoBytesAndEndsIt) {
  const std::vector<std::pair<int, i2c::MessageOutcome>> refusals{
      {ENXIO, i2c::MessageOutcome::NotAcknowledged},     {EREMOTEIO, i2c::MessageOutcome::NotAcknowledged},
      {EIO, i2c::MessageOutcome::NotAcknowledged},       {ETIMEDOUT, i2c::MessageOutcome::TimedOut},
      {EAGAIN, i2c::MessageOutcome::ArbitrationLost}};
  for (const auto& [error, outcome] : refusals) {
    calls.kernel.transferErrors = {error};
    const i2c::TransferResult result = adapter.transfer({writeTo(0x42, {0x00}), readFrom(0x43, 2)});
    EXPECT_EQ(result.messages[0].outcome, outcome) << error;
    EXPECT_EQ(result.messages[1].outcome, i2c::MessageOutcome::NotSent) << error;
    EXPECT_TRUE(result.messages[1].bytes.empty()) << error;
  }
  // Nobody at 50h: the kernel's own ENXIO, and the read after it does not go out.
  calls.kernel.log.clear();
  const i2c::TransferResult nobody = adapter.transfer({readFrom(0xA1, 4)});
  EXPECT_EQ(nobody.messages[0].outcome, i2c::MessageOutcome::NotAcknowledged);
  EXPECT_TRUE(nobody.messages[0].bytes.empty());
  EXPECT_EQ(reported.back().results[0].outcome, i2c::MessageOutcome::NotAcknowledged);
}

TEST_F(I2cDevAdapterTest, FaultsAreNumberedErrorsNamingTheDeviceTheTransferAndTheCause) {
  calls.kernel.transferErrors = {EOPNOTSUPP};
  EXPECT_THAT([&] { adapter.transfer({writeTo(0x42, {0x00}, i2c::AfterMessage::RepeatedStart),
                                      readFrom(0x43, 2)}); },
              raisesRuntimeError(5, "i2c-3 cannot do the transfer W 42 00 Sr R 43 (2) "
                                    "(I2C_RDWR): Operation not supported: a limit of its driver"));
  calls.kernel.transferErrors = {EINVAL};
  EXPECT_THAT([&] { adapter.transfer({writeTo(0x42, {0x00})}); },
              raisesRuntimeError(5, "i2c-3 refused the transfer W 42 00 (I2C_RDWR): Invalid"));
  calls.kernel.transferErrors = {EBUSY};
  EXPECT_THAT([&] { adapter.transfer({writeTo(0x42, {0x00})}); },
              raisesRuntimeError(68, "Access to /dev/i2c-3 failed (I2C_RDWR): Device or resource busy"));
}

TEST_F(I2cDevAdapterTest, AnAdapterGoneMidDumpIsError68AndItsNodeIsClosed) {
  adapter.transfer({writeTo(0x42, {0x00})});
  calls.kernel.transfersBeforeGone = 0;
  EXPECT_THAT([&] { adapter.transfer({readFrom(0x43, 256)}); },
              raisesRuntimeError(68, "Access to /dev/i2c-3 failed: No such device: the adapter is "
                                     "gone (unplugged?). Plug it back in and run the command again"));
  EXPECT_TRUE(calls.kernel.openFds.empty());
  EXPECT_EQ(reported.size(), 1u);
  // The next command opens it again, and finds it gone.
  EXPECT_THAT([&] { adapter.transfer({readFrom(0x43, 1)}); }, raisesRuntimeError(53, "i2c-3"));
}

TEST(I2cDevAdapterOpenTest, OpeningSaysWhatIsMissingAndWhatToDo) {
  testing::FakeI2cDevSystemCalls calls;
  calls.kernel.addAdapter(3, "CP2112 SMBus Bridge on hidraw0").nodePresent = false;
  calls.kernel.addAdapter(5, "i915 gmbus dpb");
  EXPECT_THAT([&] { I2cDevAdapter(3, calls).open(); },
              raisesRuntimeError(53, "No /dev/i2c-3 for the adapter i2c-3, CP2112 SMBus Bridge on "
                                     "hidraw0: the i2c-dev module is not loaded (sudo modprobe "
                                     "i2c-dev)"));
  EXPECT_THAT([&] { I2cDevAdapter(9, calls).open(); },
              raisesRuntimeError(53, "No I2C adapter i2c-9: /dev/i2c-9: No such file or directory; "
                                     "the kernel has i2c-3 and i2c-5 (brelvion-i2c-cli ports lists "
                                     "them). Load the i2c-dev module (sudo modprobe i2c-dev) or "
                                     "choose another adapter"));
  calls.kernel.openErrors["/dev/i2c-5"] = ENXIO;
  EXPECT_THAT([&] { I2cDevAdapter(5, calls).open(); },
              raisesRuntimeError(53, "Cannot open /dev/i2c-5 for the adapter i2c-5, i915 gmbus "
                                     "dpb: No such device or address"));
  calls.kernel.openErrors["/dev/i2c-5"] = EACCES;
  EXPECT_THAT([&] { I2cDevAdapter(5, calls).open(); },
              raisesRuntimeError(70, "Permission denied on /dev/i2c-5: add your user to the group "
                                     "'i2c' (sudo adduser $USER i2c) and log in again, or run as "
                                     "root"));
  calls.kernel.openErrors["/dev/i2c-5"] = EMFILE;
  EXPECT_THAT([&] { I2cDevAdapter(5, calls).open(); },
              raisesRuntimeError(68, "Cannot open /dev/i2c-5: Too many open files"));
}

TEST_F(I2cDevAdapterTest, AnAdapterThatCannotSayWhatItDoesIsError68AndLeftClosed) {
  calls.kernel.functionalityError = EIO;
  EXPECT_THAT([&] { adapter.open(); },
              raisesRuntimeError(68, "Cannot ask /dev/i2c-3 what it can do (I2C_FUNCS): "
                                     "Input/output error"));
  EXPECT_TRUE(calls.kernel.openFds.empty());
  EXPECT_EQ(calls.kernel.transfers(), 0);
}

TEST_F(I2cDevAdapterTest, AProbeIsAnSmbusQuickWriteWhereTheAdapterHasOne) {
  EXPECT_TRUE(adapter.transfer({writeTo(0x42, {})}).acknowledged());
  EXPECT_FALSE(adapter.transfer({writeTo(0x44, {})}).acknowledged());
  EXPECT_THAT(logAfterOpen(), ElementsAre("ioctl 3 I2C_SLAVE_FORCE 21", "ioctl 3 I2C_SMBUS write QUICK",
                                          "ioctl 3 I2C_SLAVE_FORCE 22", "ioctl 3 I2C_SMBUS write QUICK"));
  EXPECT_EQ(reported.back().call, AdapterCall::Smbus);

  calls.kernel.adapters[3].functionality = I2C_FUNC_I2C;
  adapter.close();
  adapter.transfer({writeTo(0x42, {})});
  EXPECT_EQ(calls.kernel.log.back(), "ioctl 4 I2C_RDWR 21/0000/0 []");
}

}  // namespace
}  // namespace brelvion::port::i2cdev
