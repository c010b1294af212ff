#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <cerrno>
#include <memory>

#include "port/gpio/GpioLines.h"
#include "support/FakeGpioKernel.h"
#include "support/RaisesRuntimeError.h"

namespace brelvion::port::gpio {
namespace {

using ::testing::ElementsAre;
using testing::FakeGpioKernel;
using testing::raisesRuntimeError;
using Kind = FakeGpioKernel::Kind;

GpioLinesChoice choose(const std::string& text) {
  GpioLinesChoice choice;
  EXPECT_FALSE(parseGpioLines(text, choice)) << text;
  return choice;
}

// A chip of 54 lines with SCL on line 3 and SDA on line 2 of a bus with nothing else on it.
class GpioLinesTest : public ::testing::Test {
 protected:
  GpioLinesTest() { kernel.wire(chip, 3, 2, bus); }

  std::unique_ptr<GpioLines> open(const std::string& text = "gpio:gpiochip0:3,2") {
    GpioLinesOptions options;
    options.notice = [this](const std::string& notice) { notices.push_back(notice); };
    options.quantum = std::chrono::nanoseconds(0);
    return std::make_unique<GpioLines>(choose(text), kernel, kernel.root(), options);
  }
  std::vector<FakeGpioKernel::Event> events() {
    std::vector<FakeGpioKernel::Event> taken;
    taken.swap(kernel.events);
    return taken;
  }

  FakeGpioKernel kernel;
  FakeGpioKernel::Chip& chip = kernel.addChip("gpiochip0", "pinctrl-bcm2711", 54);
  simulator::SimulatedI2cBus bus;
  std::vector<std::string> notices;
};

TEST_F(GpioLinesTest, RequestsBothLinesAsOpenDrainOutputsWithPullUpAtTheFirstAccess) {
  auto lines = open();
  EXPECT_TRUE(kernel.log.empty()) << "opened before the first access";
  lines->setScl(false);

  EXPECT_THAT(kernel.log,
              ElementsAre("open " + kernel.path("gpiochip0"), "chipinfo 3", "lineinfo 3 3",
                          "lineinfo 3 2",
                          "request gpiochip0 lines 3,2 flags output,open-drain,pull-up consumer "
                          "brelvion-i2c",
                          "close 3"));
  EXPECT_TRUE(lines->request().openDrain && lines->request().pullUp);
  EXPECT_EQ(lines->request().offsets, (std::array<std::uint32_t, 2>{3, 2}));
  // Both released by the request itself (read back once), then SCL pulled.
  EXPECT_THAT(events(), ElementsAre(FakeGpioKernel::Event{Kind::Get, 3, true, 0},
                                    FakeGpioKernel::Event{Kind::Get, 2, true, 0},
                                    FakeGpioKernel::Event{Kind::Set, 3, false, 0}));
  EXPECT_TRUE(chip.lines[3].used && chip.lines[2].used);
  EXPECT_EQ(chip.lines[2].consumer, "brelvion-i2c");
  EXPECT_TRUE(notices.empty());
  EXPECT_EQ(lines->name(), "gpio:gpiochip0:3,2");
}

TEST_F(GpioLinesTest, SetsAndReadsEachLineThroughTheRequestAsTheWiresHaveThem) {
  auto lines = open();
  lines->open();
  events();
  lines->setSda(false);
  EXPECT_FALSE(bus.sda());
  EXPECT_TRUE(bus.scl());
  EXPECT_FALSE(lines->sda());
  EXPECT_EQ(lines->scl(), true);
  lines->setScl(false);
  lines->setSda(true);
  EXPECT_FALSE(bus.scl());
  EXPECT_TRUE(lines->sda());
  EXPECT_EQ(lines->scl(), false);
  EXPECT_THAT(events(), ElementsAre(FakeGpioKernel::Event{Kind::Set, 2, false, 0},
                                    FakeGpioKernel::Event{Kind::Get, 2, false, 0},
                                    FakeGpioKernel::Event{Kind::Get, 3, true, 0},
                                    FakeGpioKernel::Event{Kind::Set, 3, false, 0},
                                    FakeGpioKernel::Event{Kind::Set, 2, true, 0},
                                    FakeGpioKernel::Event{Kind::Get, 2, true, 0},
                                    FakeGpioKernel::Event{Kind::Get, 3, false, 0}));
  EXPECT_EQ(kernel.drivenHigh, 0);

  lines.reset();
  EXPECT_TRUE(bus.scl() && bus.sda()) << "lines left pulled";
  EXPECT_EQ(kernel.openDescriptors(), 0u);
  EXPECT_FALSE(chip.lines[3].used);
}

TEST_F(GpioLinesTest, FindsLinesByTheNamesTheChipGivesThem) {
  chip.lines[3].name = "I2C_SCL";
  chip.lines[2].name = "I2C_SDA";
  auto lines = open("gpio:pinctrl-bcm2711:I2C_SCL,I2C_SDA");
  lines->open();
  EXPECT_EQ(lines->request().offsets, (std::array<std::uint32_t, 2>{3, 2}));
  EXPECT_EQ(lines->name(), "gpio:pinctrl-bcm2711:I2C_SCL,I2C_SDA");
}

TEST_F(GpioLinesTest, AChipWithoutBiasGetsTheLinesWithoutPullUp) {
  chip.bias = false;
  auto lines = open();
  lines->open();
  EXPECT_THAT(kernel.log, ::testing::Contains("request gpiochip0 lines 3,2 flags "
                                              "output,open-drain consumer brelvion-i2c"));
  EXPECT_TRUE(lines->request().openDrain);
  EXPECT_FALSE(lines->request().pullUp);
  EXPECT_TRUE(notices.empty());
}

// Without open drain, or without reading an output back, a released line is an input and a
// pulled one an output driving 0: every change reconfigures both lines, and a line the
// master pulls is not read.
TEST_F(GpioLinesTest, ChipsThatCannotDoOpenDrainSwitchDirectionAndSaySoOnce) {
  chip.openDrain = false;
  auto lines = open();
  lines->open();
  EXPECT_THAT(kernel.log, ::testing::Contains("request gpiochip0 lines 3,2 flags input,pull-up "
                                              "consumer brelvion-i2c"));
  EXPECT_EQ(notices, std::vector<std::string>{
                         "gpiochip0 cannot make lines 3 and 2 open-drain outputs (Invalid "
                         "argument): they switch between input (released) and output low instead"});
  events();
  lines->setSda(false);
  EXPECT_FALSE(bus.sda());
  EXPECT_FALSE(lines->sda());
  lines->setScl(false);
  lines->setSda(true);
  EXPECT_TRUE(lines->sda());
  EXPECT_THAT(events(), ElementsAre(FakeGpioKernel::Event{Kind::Config, 3, true, 0},
                                    FakeGpioKernel::Event{Kind::Config, 2, false, 0},
                                    FakeGpioKernel::Event{Kind::Config, 3, false, 0},
                                    FakeGpioKernel::Event{Kind::Config, 2, false, 0},
                                    FakeGpioKernel::Event{Kind::Config, 3, false, 0},
                                    FakeGpioKernel::Event{Kind::Config, 2, true, 0},
                                    FakeGpioKernel::Event{Kind::Get, 2, true, 0}));
  EXPECT_EQ(kernel.drivenHigh, 0);
}

TEST_F(GpioLinesTest, AChipThatCannotReadItsOutputsBackSwitchesDirection) {
  chip.readsOutputs = false;
  auto lines = open();
  lines->open();
  EXPECT_FALSE(lines->request().openDrain);
  EXPECT_EQ(notices, std::vector<std::string>{
                         "gpiochip0 cannot read back its open-drain outputs (Input/output "
                         "error): lines 3 and 2 switch between input (released) and output low "
                         "instead"});
  events();
  lines->setScl(false);
  EXPECT_FALSE(bus.scl());
  EXPECT_EQ(lines->scl(), false);
  EXPECT_TRUE(lines->sda());
  EXPECT_THAT(events(), ElementsAre(FakeGpioKernel::Event{Kind::Config, 3, false, 0},
                                    FakeGpioKernel::Event{Kind::Config, 2, true, 0},
                                    FakeGpioKernel::Event{Kind::Get, 2, true, 0}));
}

TEST_F(GpioLinesTest, MissingChipsAndLinesAreNamedWithWhatThereIs) {
  kernel.addChip("gpiochip1", "cp2112", 8);
  EXPECT_THAT([&] { open("gpio:gpiochip4:3,2")->open(); },
              raisesRuntimeError(53, "No GPIO chip 'gpiochip4': found gpiochip0 "
                                     "'pinctrl-bcm2711' (54 lines), gpiochip1 'cp2112' (8 lines)"));
  EXPECT_THAT([&] { open("gpio:1:3,8")->open(); },
              raisesRuntimeError(53, "gpiochip1 has no line 8 for SDA: its 8 lines are 0 to 7"));
  EXPECT_THAT([&] { open("gpio:0:GPIO99,2")->open(); },
              raisesRuntimeError(53, "gpiochip0 has no line named 'GPIO99' for SCL (names are "
                                     "case-sensitive; gpioinfo lists a chip's lines), or give "
                                     "the line's offset"));
  EXPECT_THAT([&] { open("gpio:0:3,GPIO3")->open(); },
              raisesRuntimeError(5, "SCL and SDA are both line 3 of gpiochip0: choose two "
                                    "different lines"));
  EXPECT_EQ(kernel.openDescriptors(), 0u);
}

TEST_F(GpioLinesTest, PermissionAndBusyLinesSayWhatToDo) {
  kernel.openErrors[kernel.path("gpiochip0")] = EACCES;
  EXPECT_THAT([&] { open()->setSda(true); },
              raisesRuntimeError(70, "Permission denied on " + kernel.path("gpiochip0") +
                                         ": add your user to the group 'gpio' (sudo adduser "
                                         "$USER gpio) and log in again, or run as root"));
  kernel.openErrors[kernel.path("gpiochip0")] = EIO;
  EXPECT_THAT([&] { open()->setSda(true); },
              raisesRuntimeError(68, "Cannot open " + kernel.path("gpiochip0") +
                                         ": Input/output error"));
  kernel.openErrors.clear();

  chip.lines[2] = {"GPIO2", "i2c-gpio", true};
  EXPECT_THAT([&] { open()->sda(); },
              raisesRuntimeError(68, "Line 2 (GPIO2) of gpiochip0, chosen for SDA, is in use by "
                                     "'i2c-gpio'. Unbind that driver (or remove its device-tree "
                                     "overlay) or end that program, then try again"));
  chip.lines[2] = {"", "", true};
  EXPECT_THAT([&] { open()->sda(); },
              raisesRuntimeError(68, "Line 2 of gpiochip0, chosen for SDA, is in use by a kernel "
                                     "driver or another program that gives no name"));
  EXPECT_EQ(kernel.openDescriptors(), 0u);
}

// The chip goes away (a USB bridge unplugged) at any call of a command.
TEST_F(GpioLinesTest, AChipRemovedMidCommandIsAnErrorThatLeavesNothingOpen) {
  for (int calls : {0, 1, 5}) {
    FakeGpioKernel gone;
    gone.addChip("gpiochip0", "cp2112", 8);
    gone.removeAfterCalls = calls;
    GpioLines lines(choose("gpio:gpiochip0:1,0"), gone, gone.root(), {});
    EXPECT_THAT(
        [&] {
          for (int i = 0; i < 10; ++i) {
            lines.setScl(i % 2 == 0);
            lines.sda();
          }
        },
        raisesRuntimeError(68, "Access to " + gone.path("gpiochip0") +
                                   " failed: No such device. The GPIO chip is gone (a USB GPIO "
                                   "bridge unplugged?): plug it back in and run the command "
                                   "again"))
        << calls;
    EXPECT_EQ(gone.openDescriptors(), 0u) << calls;
    EXPECT_THAT([&] { lines.sda(); }, raisesRuntimeError(53, "No GPIO chip 'gpiochip0'"));
  }
}

}  // namespace
}  // namespace brelvion::port::gpio
