#include <gtest/gtest.h>

#include "port/gpio/GpioLinesText.h"

namespace brelvion::port::gpio {
namespace {

std::string errorOf(std::string_view text) {
  GpioLinesChoice choice{"untouched", {1, {}}, {2, {}}};
  const auto error = parseGpioLines(text, choice);
  EXPECT_EQ(choice.chip, "untouched") << "a refused text changed the choice: " << text;
  return error.value_or("(accepted)");
}

TEST(GpioLinesTextTest, ReadsAChipAndTwoLinesByOffsetOrName) {
  GpioLinesChoice choice;
  EXPECT_FALSE(parseGpioLines("gpio:gpiochip0:3,2", choice));
  EXPECT_EQ(choice, (GpioLinesChoice{"gpiochip0", {3, {}}, {2, {}}}));

  EXPECT_FALSE(parseGpioLines("gpio:gpiochip0:GPIO3,GPIO2", choice));
  EXPECT_EQ(choice, (GpioLinesChoice{"gpiochip0", {std::nullopt, "GPIO3"}, {std::nullopt, "GPIO2"}}));

  // Everything up to the last colon is the chip: a label may have colons of its own.
  EXPECT_FALSE(parseGpioLines("gpio:ftdi:cbus:0,SDA_1", choice));
  EXPECT_EQ(choice, (GpioLinesChoice{"ftdi:cbus", {0, {}}, {std::nullopt, "SDA_1"}}));

  EXPECT_FALSE(parseGpioLines("gpio:/dev/gpiochip2:4294967295,007", choice));
  EXPECT_EQ(choice, (GpioLinesChoice{"/dev/gpiochip2", {4294967295u, {}}, {7, {}}}));
}

TEST(GpioLinesTextTest, WritesTheChoiceBackAsItReadsIt) {
  for (const char* text : {"gpio:gpiochip0:3,2", "gpio:1:SCL,SDA", "gpio:a:b:17,x"}) {
    GpioLinesChoice choice;
    ASSERT_FALSE(parseGpioLines(text, choice)) << text;
    EXPECT_EQ(gpioLinesText(choice), text);
  }
}

// Each reason word for word; none repeats the text, which the caller shows itself.
TEST(GpioLinesTextTest, EveryMistakeHasItsReason) {
  const std::vector<std::pair<std::string, std::string>> cases{
      {"lpt1", "GPIO lines are written gpio:CHIP:SCL,SDA (for example gpio:gpiochip0:3,2)"},
      {"GPIO:gpiochip0:3,2",
       "GPIO lines are written gpio:CHIP:SCL,SDA (for example gpio:gpiochip0:3,2)"},
      {"gpio:gpiochip0",
       "the chip and its lines are written gpio:CHIP:SCL,SDA (for example gpio:gpiochip0:3,2)"},
      {"gpio::3,2", "the chip is missing: gpio:CHIP:SCL,SDA (for example gpio:gpiochip0:3,2)"},
      {"gpio:gpiochip0:3",
       "two lines are needed, SCL then SDA, with a comma between: gpio:CHIP:SCL,SDA (for "
       "example gpio:gpiochip0:3,2)"},
      {"gpio:gpiochip0:3,2,1",
       "two lines are needed, SCL then SDA, with a comma between: gpio:CHIP:SCL,SDA (for "
       "example gpio:gpiochip0:3,2)"},
      {"gpio:gpiochip0:,2",
       "the SCL line is empty: gpio:CHIP:SCL,SDA (for example gpio:gpiochip0:3,2)"},
      {"gpio:gpiochip0:3,",
       "the SDA line is empty: gpio:CHIP:SCL,SDA (for example gpio:gpiochip0:3,2)"},
      {"gpio:gpiochip0:4294967296,2", "the SCL line offset is too large for a GPIO line offset"},
      {"gpio:gpiochip0:3," + std::string(32, 'N'),
       "the SDA line's name is longer than a GPIO line name can be (31 characters)"},
      {"gpio:gpiochip0:3,03", "SCL and SDA must be two different lines"},
      {"gpio:gpiochip0:GPIO3,GPIO3", "SCL and SDA must be two different lines"},
  };
  for (const auto& [text, reason] : cases) EXPECT_EQ(errorOf(text), reason) << text;
  GpioLinesChoice longest;
  EXPECT_FALSE(parseGpioLines("gpio:gpiochip0:3," + std::string(31, 'N'), longest));
}

}  // namespace
}  // namespace brelvion::port::gpio
