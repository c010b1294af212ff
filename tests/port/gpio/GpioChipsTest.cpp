#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <cerrno>

#include "port/gpio/GpioChips.h"
#include "support/FakeGpioKernel.h"
#include "support/RaisesRuntimeError.h"

namespace brelvion::port::gpio {
namespace {

using testing::raisesRuntimeError;

class GpioChipsTest : public ::testing::Test {
 protected:
  GpioChipsTest() {
    kernel.addChip("gpiochip10", "cp2112", 8);
    kernel.addChip("gpiochip0", "pinctrl-bcm2711", 58);
    kernel.addChip("gpiochip2", "", 1);
  }
  testing::FakeGpioKernel kernel;
};

TEST_F(GpioChipsTest, ListsEveryChipByNumberWithItsLabelAndLines) {
  std::ofstream(kernel.root() / "dev" / "gpiochipX");  // not a chip's name
  kernel.openErrors[kernel.path("gpiochip2")] = EACCES;
  const std::vector<GpioChip> chips = listGpioChips(kernel, kernel.root());
  ASSERT_EQ(chips.size(), 3u);
  EXPECT_EQ(chips[0], (GpioChip{"gpiochip0", kernel.path("gpiochip0"), "pinctrl-bcm2711", 58, {}}));
  EXPECT_EQ(chips[1].name, "gpiochip2");
  EXPECT_EQ(chips[2], (GpioChip{"gpiochip10", kernel.path("gpiochip10"), "cp2112", 8, {}}));
  EXPECT_EQ(describeGpioChips(chips),
            "gpiochip0 'pinctrl-bcm2711' (58 lines), gpiochip2 (cannot be opened: Permission "
            "denied), gpiochip10 'cp2112' (8 lines)");
  EXPECT_EQ(kernel.openDescriptors(), 0u);

  kernel.openErrors.clear();
  EXPECT_EQ(describeGpioChips(listGpioChips(kernel, kernel.root())),
            "gpiochip0 'pinctrl-bcm2711' (58 lines), gpiochip2 (1 line), gpiochip10 'cp2112' "
            "(8 lines)");
  testing::FakeGpioKernel empty;
  EXPECT_TRUE(listGpioChips(empty, empty.root()).empty());
}

TEST_F(GpioChipsTest, AChipIsNamedByPathNameNumberOrLabel) {
  const auto path = [&](const std::string& chip) {
    return gpioChipPath(chip, kernel, kernel.root());
  };
  EXPECT_EQ(path("gpiochip10"), kernel.path("gpiochip10"));
  EXPECT_EQ(path("10"), kernel.path("gpiochip10"));
  EXPECT_EQ(path("/dev/gpiochip0"), kernel.path("gpiochip0"));
  EXPECT_EQ(path("cp2112"), kernel.path("gpiochip10"));
  EXPECT_EQ(path("gpiochip7"), kernel.path("gpiochip7")) << "opening it will say it is missing";

  EXPECT_THAT([&] { path("ftdi"); },
              raisesRuntimeError(53, "No GPIO chip 'ftdi': found gpiochip0 'pinctrl-bcm2711' (58 "
                                     "lines), gpiochip2 (1 line), gpiochip10 'cp2112' (8 lines). "
                                     "Name one of those, by name, number or label"));
  kernel.addChip("gpiochip11", "cp2112", 8);
  EXPECT_THAT([&] { path("cp2112"); },
              raisesRuntimeError(53, "Several GPIO chips are labelled 'cp2112': gpiochip10, "
                                     "gpiochip11. Name the one you mean by its name"));
  testing::FakeGpioKernel empty;
  EXPECT_THAT([&] { gpioChipPath("cp2112", empty, empty.root()); },
              raisesRuntimeError(53, "No GPIO chip 'cp2112': this system has no GPIO chips (no "
                                     "/dev/gpiochip devices). Load the driver of the board's GPIO "
                                     "controller or of the USB GPIO bridge"));
}

}  // namespace
}  // namespace brelvion::port::gpio
