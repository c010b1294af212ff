#include <gtest/gtest.h>

#include "port/PortChoice.h"
#include "i2c/TransferText.h"

namespace brelvion::port {
namespace {

TEST(PortChoiceTest, TakesTheLptPortsAndAdaptersByEitherNameAndWritesTheShortOneBack) {
  EXPECT_EQ(PortChoice::parse("lpt1"), PortChoice::lpt(0));
  EXPECT_EQ(PortChoice::parse("lpt3"), PortChoice::lpt(2));
  EXPECT_EQ(PortChoice::parse("i2c-3"), PortChoice::i2cDev(3));
  EXPECT_EQ(PortChoice::parse("/dev/i2c-3"), PortChoice::i2cDev(3));
  EXPECT_EQ(PortChoice::parse("i2c-0"), PortChoice::i2cDev(0));
  EXPECT_EQ(PortChoice::parse("i2c-1048575"), PortChoice::i2cDev(1048575));
  EXPECT_EQ(PortChoice::i2cDev(3).name(), "i2c-3");
  EXPECT_EQ(PortChoice::lpt(1).name(), "lpt2");
  EXPECT_EQ(PortChoice(), PortChoice::lpt(0));
  EXPECT_TRUE(PortChoice::lpt(0).bitBanged());
  EXPECT_FALSE(PortChoice::i2cDev(3).bitBanged());
  EXPECT_EQ(PortChoice::acceptedForms(), "lpt1, lpt2, lpt3, i2c-N, /dev/i2c-N or gpio:CHIP:SCL,SDA");
}

TEST(PortChoiceTest, GpioLinesAreBitBangedAndNamedAsWritten) {
  const auto byOffset = PortChoice::parse("gpio:gpiochip0:3,2");
  ASSERT_TRUE(byOffset);
  ASSERT_NE(byOffset->gpioLines(), nullptr);
  EXPECT_EQ(byOffset->gpioLines()->chip, "gpiochip0");
  EXPECT_EQ(byOffset->gpioLines()->scl.offset, 3u);
  EXPECT_EQ(byOffset->gpioLines()->sda.offset, 2u);
  EXPECT_TRUE(byOffset->bitBanged());
  EXPECT_EQ(byOffset->lptPort(), nullptr);
  EXPECT_EQ(byOffset->name(), "gpio:gpiochip0:3,2");

  const auto byName = PortChoice::parse("gpio:/dev/gpiochip1:I2C_SCL,I2C_SDA");
  ASSERT_TRUE(byName);
  EXPECT_EQ(byName->name(), "gpio:/dev/gpiochip1:I2C_SCL,I2C_SDA");
  EXPECT_EQ(PortChoice::parse(byName->name()), byName);
  EXPECT_NE(byName, byOffset);
  EXPECT_EQ(PortChoice::parse("gpio:gpiochip0:03,2")->name(), "gpio:gpiochip0:3,2");
}

TEST(PortChoiceTest, AGpioFormWithAFaultSaysWhich) {
  EXPECT_FALSE(PortChoice::parse("gpio:gpiochip0:3"));
  EXPECT_EQ(PortChoice::problemWith("gpio:gpiochip0:3"),
            "two lines are needed, SCL then SDA, with a comma between: gpio:CHIP:SCL,SDA (for "
            "example gpio:gpiochip0:3,2)");
  EXPECT_EQ(PortChoice::problemWith("gpio::3,2"), "the chip is missing: gpio:CHIP:SCL,SDA (for "
                                                  "example gpio:gpiochip0:3,2)");
  EXPECT_FALSE(PortChoice::problemWith("gpio:gpiochip0:3,2")) << "nothing wrong with it";
  EXPECT_FALSE(PortChoice::problemWith("lpt9")) << "no kind's prefix: the list of forms says it";
  EXPECT_FALSE(PortChoice::problemWith("GPIO:gpiochip0:3,2"));
}

TEST(PortChoiceTest, AnythingElseIsNoPort) {
  for (const char* text : {"", "lpt0", "lpt4", "LPT1", "lpt1 ", "i2c-", "i2c-01", "i2c--1",
                           "i2c-3a", "i2c-1048576", "i2c-99999999", "/dev/i2c-", "/dev/lpt1",
                           "dev/i2c-3", "/dev//i2c-3", "i2c3", "I2C-3"}) {
    EXPECT_FALSE(PortChoice::parse(text)) << text;
  }
}

TEST(TransferTextTest, MessagesJoinedByRepeatedStartsLongOnesCut) {
  i2c::I2cMessage pointer{0x43, false, {0x00}};
  i2c::I2cMessage read{0x42, true, {}, 2};
  i2c::MessageResult readBack{i2c::MessageOutcome::Acknowledged, 0, {0x80, 0xE7}};
  EXPECT_EQ(i2c::transferText({pointer, read}), "W 42 00 Sr R 43 (2)");
  EXPECT_EQ(i2c::transferText({pointer, read}, {{}, readBack}), "W 42 00 Sr R 43 (2) 80 E7");
  i2c::I2cMessage probe{0x42, false, {}};
  EXPECT_EQ(i2c::transferText({probe}), "W 42");
  i2c::I2cMessage longWrite{0x42, false, {0, 1, 2, 3, 4, 5, 6, 7, 8, 9}};
  EXPECT_EQ(i2c::transferText({longWrite}), "W 42 (10) 00 01 02 03 04 05 06 07 ..");
  i2c::MessageResult many{i2c::MessageOutcome::Acknowledged, 0, std::vector<std::uint8_t>(256, 0xAB)};
  EXPECT_EQ(i2c::transferText({i2c::I2cMessage{0x42, true, {}, 256}}, {many}),
            "R 43 (256) AB AB AB AB AB AB AB AB ..");
}

}  // namespace
}  // namespace brelvion::port
