#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>

#include "SendFixture.h"
#include "base/Text.h"
#include "commandfiles/Dump.h"
#include "numconv/HexText.h"
#include "port/i2cdev/I2cDevAdapter.h"
#include "simulator/CameraSensor.h"
#include "support/DesignTransactions.h"
#include "support/FakeI2cDevSystemCalls.h"

namespace brelvion::commandfiles {
namespace {

using base::RuntimeError;
using testing::readWhole;

int errorOf(const std::string& text) {
  try {
    parseDumpCount(text);
  } catch (const RuntimeError& error) {
    return error.number();
  }
  return 0;
}

TEST(DumpTest, TheCountIsADecimal16BitNumber) {
  EXPECT_EQ(parseDumpCount("00"), 0);
  EXPECT_EQ(parseDumpCount(" 255 "), 255);
  EXPECT_EQ(parseDumpCount("32767"), 32767);
  EXPECT_EQ(parseDumpCount("+7"), 7);
  EXPECT_EQ(parseDumpCount("-32768"), -32768);
  EXPECT_EQ(errorOf("32768"), RuntimeError::kOverflow);
  EXPECT_EQ(errorOf("99999999999999999999999"), RuntimeError::kOverflow);
  EXPECT_EQ(errorOf(""), RuntimeError::kTypeMismatch);
  EXPECT_EQ(errorOf("   "), RuntimeError::kTypeMismatch);
  EXPECT_EQ(errorOf("1 2"), RuntimeError::kTypeMismatch);
  EXPECT_EQ(errorOf("FF"), RuntimeError::kTypeMismatch);
  EXPECT_EQ(errorOf("\t5"), RuntimeError::kTypeMismatch);
}

TEST(DumpTest, LinesAreUpperCaseHexWithoutLeadingZerosAndTwoBlanks) {
  EXPECT_EQ(dumpText(0x43, {0x80, 0x05, 0x1A}), "43  0  80\r\n43  1  5\r\n43  2  1A\r\n");
  const std::string many = dumpText(0x43, std::vector<std::int16_t>(0x101, 0));
  EXPECT_NE(many.find("\r\n43  F  0\r\n43  10  0\r\n"), std::string::npos);
  EXPECT_EQ(many.substr(many.size() - 14), "\r\n43  100  0\r\n");
  EXPECT_EQ(base::trimmed(" Dump.i2c "), "Dump.i2c");
}

struct DumpFixture : testing::SendFixture {
  DumpOutcome dump(std::int16_t device, std::int16_t count, const std::string& name) {
    fields.deviceAddress = device;
    return dumpRegisters(set.core.master(), i2c::AfterMessage::Stop, set.desktop,
                         fields.deviceAddress, count, " " + scratch.file(name) + "  ");
  }
  DumpEnd dumpToFile(std::int16_t count, const std::string& fileText) {
    return commandfiles::dumpToFile(set.core.master(), i2c::AfterMessage::Stop, set.desktop,
                      fields.deviceAddress, count, fileText);
  }
  std::string dumped(const std::string& name) const { return readWhole(scratch.file(name)); }
};

TEST(DumpTest, DumpsRegistersZeroToCountWithTheReadAddress) {
  DumpFixture fixture;
  const DumpOutcome outcome = fixture.dump(0x42, 1, "Dump.i2c");
  EXPECT_TRUE(outcome.written);
  EXPECT_TRUE(outcome.acknowledged);
  const auto reg = [](int n) {
    return numconv::upperHex(
        simulator::CameraSensor::defaultValue(static_cast<std::uint8_t>(n)));
  };
  EXPECT_EQ(fixture.dumped("Dump.i2c"), "43  0  " + reg(0) + "\r\n43  1  " + reg(1) + "\r\n");
  EXPECT_EQ(fixture.fields.deviceAddress, 0x43);

  fixture.dump(0x43, 0, "one.i2c");
  EXPECT_EQ(fixture.dumped("one.i2c"), "43  0  " + reg(0) + "\r\n");
  EXPECT_TRUE(fixture.set.desktop.boxes.empty());
}

TEST(DumpTest, ANoAcknowledgeDumpIsWrittenAndSaysSo) {
  DumpFixture fixture;
  const DumpOutcome outcome = fixture.dump(0x60, 3, "nobody.i2c");
  EXPECT_TRUE(outcome.written);
  EXPECT_FALSE(outcome.acknowledged);
  EXPECT_EQ(fixture.dumped("nobody.i2c"), "61  0  FF\r\n61  1  FF\r\n61  2  FF\r\n61  3  FF\r\n");
}

// One pointer write, one read of 256: three calls with the adapter's opening query.
TEST(DumpTest, OnAnAdapterTheFileHoldsWhatItReturnedAndNothingWhenItRefused) {
  testing::FakeI2cDevSystemCalls calls;  // outlives the adapter the fixture's core holds
  DumpFixture fixture;
  calls.kernel.addAdapter(3, "CP2112").devices[0x21];
  fixture.set.core.useAdapter(std::make_unique<port::i2cdev::I2cDevAdapter>(3, calls));
  const DumpOutcome outcome = fixture.dump(0x42, 255, "adapter.i2c");
  EXPECT_TRUE(outcome.written && outcome.acknowledged);
  const std::string text = fixture.dumped("adapter.i2c");
  EXPECT_EQ(text.substr(0, 22), "43  0  28\r\n43  1  4D\r\n");
  EXPECT_EQ(std::count(text.begin(), text.end(), '\n'), 256);
  EXPECT_THAT(calls.kernel.log, ::testing::ElementsAre("open /dev/i2c-3", "ioctl 3 I2C_FUNCS",
                                                       "ioctl 3 I2C_RDWR 21/0000/1 [00]",
                                                       "ioctl 3 I2C_RDWR 21/0001/256"));

  const DumpOutcome nobody = fixture.dump(0x60, 3, "nobody.i2c");
  EXPECT_TRUE(nobody.written);
  EXPECT_FALSE(nobody.acknowledged);
  EXPECT_EQ(fixture.dumped("nobody.i2c"), "");
}

TEST(DumpTest, EveryCountUpToTheLargestWorks) {
  DumpFixture fixture;
  ASSERT_TRUE(fixture.dump(0x42, 32767, "all.i2c").written);
  const std::string text = fixture.dumped("all.i2c");
  EXPECT_EQ(std::count(text.begin(), text.end(), '\n'), 32768);
  EXPECT_NE(text.find("\r\n43  7FFF  "), std::string::npos);
}

TEST(DumpTest, ErrorsAreBoxedAndLeaveNoFileBehind) {
  DumpFixture fixture;
  const std::int64_t before = fixture.set.port.nowNs();
  const DumpOutcome blank =
      dumpRegisters(fixture.set.core.master(), i2c::AfterMessage::Stop, fixture.set.desktop,
                    fixture.fields.deviceAddress, 3, "   ");
  const DumpOutcome negative = fixture.dump(0x42, -1, "negative.i2c");
  EXPECT_EQ(fixture.set.port.nowNs(), before) << "neither touches the bus";
  EXPECT_EQ(blank.failure->error.number(), RuntimeError::kPathFileAccess);
  EXPECT_EQ(negative.failure->error.number(), RuntimeError::kInvalidCall);
  EXPECT_EQ(fixture.set.desktop.boxes.at(1).text, "5: Invalid procedure call or argument");
  EXPECT_FALSE(std::filesystem::exists(fixture.scratch.file("negative.i2c")));

  const DumpOutcome nowhere = fixture.dump(0x42, 3, "no/such/dir/x.i2c");
  EXPECT_FALSE(nowhere.written);
  ASSERT_EQ(fixture.set.desktop.boxes.size(), 3u);
  const desktop::MessageBoxRequest& box = fixture.set.desktop.boxes[2];
  EXPECT_EQ(box.title, "Dump To File - Error");
  EXPECT_EQ(box.icon, desktop::MessageIcon::Information);
  EXPECT_EQ(box.text, "76: Cannot write " + fixture.scratch.file("no/such/dir/x.i2c") +
                          ": No such file or directory");
}

TEST(DumpTest, TheQuestionsAndTheEmptyName) {
  DumpFixture fixture;
  fixture.set.desktop.answer = desktop::MessageAnswer::No;
  fixture.fields.deviceAddress = 0;
  EXPECT_EQ(fixture.dumpToFile(5, " x.i2c"), DumpEnd::FocusDeviceAddress);
  fixture.fields.deviceAddress = 0x42;
  EXPECT_EQ(fixture.dumpToFile(0, " x.i2c"), DumpEnd::FocusLineCount);
  ASSERT_EQ(fixture.set.desktop.boxes.size(), 2u);
  EXPECT_EQ(fixture.set.desktop.boxes[0].text, "Device address is 0?");
  EXPECT_EQ(fixture.set.desktop.boxes[1].text, "Count is 0?");
  for (const auto& box : fixture.set.desktop.boxes) {
    EXPECT_EQ(box.buttons, desktop::MessageButtons::YesNo);
    EXPECT_EQ(box.icon, desktop::MessageIcon::None);
    EXPECT_EQ(box.title, "");
  }

  fixture.set.desktop.answer = desktop::MessageAnswer::Yes;
  EXPECT_EQ(fixture.dumpToFile(5, ""), DumpEnd::NoFileName);
  EXPECT_EQ(fixture.set.desktop.boxes.back().text, "Fill up the file name to dump, please");
  EXPECT_EQ(fixture.set.desktop.boxes.back().title, "Dump To File");
  EXPECT_EQ(fixture.set.desktop.boxes.back().icon, desktop::MessageIcon::Information);

  EXPECT_EQ(fixture.dumpToFile(0, fixture.scratch.file("zero.i2c")), DumpEnd::Written);
  const std::string zero = fixture.dumped("zero.i2c");
  EXPECT_EQ(std::count(zero.begin(), zero.end(), '\n'), 1);
}

TEST(DumpTest, ADumpSentBackRestoresEveryRegister) {
  DumpFixture fixture;
  ASSERT_TRUE(fixture.dump(0x42, 255, "before.i2c").written);
  std::int16_t device = 0x42;
  for (int reg : {0x00, 0x05, 0x0F, 0x10, 0x7E, 0xFF})
    fixture.set.design.writeRegister(device, reg, 0x03);
  ASSERT_TRUE(fixture.dump(0x42, 255, "changed.i2c").written);
  ASSERT_NE(fixture.dumped("changed.i2c"), fixture.dumped("before.i2c"));

  const SendOutcome sent = fixture.send(fixture.dumped("before.i2c"));
  EXPECT_EQ(sent.writes, 256);
  EXPECT_EQ(sent.unacknowledged, 0);
  ASSERT_TRUE(fixture.dump(0x42, 255, "after.i2c").written);
  EXPECT_EQ(fixture.dumped("after.i2c"), fixture.dumped("before.i2c"));
}

}  // namespace
}  // namespace brelvion::commandfiles
