#include <gtest/gtest.h>

#include "base/RuntimeError.h"
#include "windowlogic/PortList.h"
#include "windowlogic/ScrollLayout.h"

namespace brelvion::windowlogic {
namespace {

TEST(PortListTest, EachItemNamesItsPort) {
  EXPECT_EQ(portIndexOfItem(kPortItems[0]), 0);
  EXPECT_EQ(portIndexOfItem(kPortItems[1]), 1);
  EXPECT_EQ(portIndexOfItem(kPortItems[2]), 2);
  EXPECT_EQ(portIndexOfItem("LPT3"), 2);
}

TEST(PortListTest, OnlyTheFirstFourCharactersCountAndCaseMatters) {
  EXPECT_EQ(portIndexOfItem("LPT2anything"), 1);
  EXPECT_EQ(portIndexOfItem(""), std::nullopt);
  EXPECT_EQ(portIndexOfItem("LPT"), std::nullopt);
  EXPECT_EQ(portIndexOfItem("lpt1, h378"), std::nullopt);
  // The blank is one of the four, so the digit falls off.
  EXPECT_EQ(portIndexOfItem(" LPT1"), std::nullopt);
  EXPECT_EQ(portIndexOfItem("LPT4"), std::nullopt);
}

TEST(PortListTest, AdaptersFollowTheLptRowsByPosition) {
  const std::vector<port::i2cdev::I2cAdapterInfo> adapters{
      {3, "CP2112 SMBus Bridge on hidraw0", true}, {7, "", true}};
  EXPECT_EQ(adapterItemText(adapters[0]), "I2C-3, CP2112 SMBus Bridge on hidraw0");
  EXPECT_EQ(adapterItemText(adapters[1]), "I2C-7");
  EXPECT_EQ(portChoiceOfRow(0, kPortItems[0], adapters), port::PortChoice::lpt(0));
  EXPECT_EQ(portChoiceOfRow(2, kPortItems[2], adapters), port::PortChoice::lpt(2));
  EXPECT_EQ(portChoiceOfRow(1, "LPT9", adapters), std::nullopt);
  EXPECT_EQ(portChoiceOfRow(3, "I2C-3, CP2112 SMBus Bridge on hidraw0", adapters),
            port::PortChoice::i2cDev(3));
  EXPECT_EQ(portChoiceOfRow(4, "I2C-7", adapters), port::PortChoice::i2cDev(7));
  EXPECT_EQ(portChoiceOfRow(5, "", adapters), std::nullopt);
  EXPECT_EQ(adapterBusNotice("i2c-3, CP2112 SMBus Bridge on hidraw0"),
            "I2C adapter i2c-3, CP2112 SMBus Bridge on hidraw0 (i2c-dev)");
}

TEST(PortListTest, TheGpioRowComesBetweenTheLptRowsAndTheAdapters) {
  const std::vector<port::i2cdev::I2cAdapterInfo> adapters{{3, "", true}};
  port::gpio::GpioLinesChoice lines;
  ASSERT_FALSE(port::gpio::parseGpioLines("gpio:gpiochip0:I2C_SCL,2", lines));
  EXPECT_EQ(gpioItemText(lines), "GPIO, gpiochip0:I2C_SCL,2");
  EXPECT_EQ(portChoiceOfRow(2, kPortItems[2], adapters, &lines), port::PortChoice::lpt(2));
  EXPECT_EQ(portChoiceOfRow(3, gpioItemText(lines), adapters, &lines),
            port::PortChoice::gpio(lines));
  EXPECT_EQ(portChoiceOfRow(4, "I2C-3", adapters, &lines), port::PortChoice::i2cDev(3));
  EXPECT_EQ(portChoiceOfRow(5, "", adapters, &lines), std::nullopt);
  EXPECT_EQ(gpioBusNotice(lines), "GPIO lines of gpiochip0: SCL I2C_SCL, SDA 2");
}

TEST(PortListTest, TheBusInUseAtStartUpHasItsRow) {
  const std::vector<port::i2cdev::I2cAdapterInfo> adapters{{3, "", true}, {7, "", true}};
  const std::string seven = "i2c-7";
  const std::string gone = "i2c-9";
  struct Case {
    const std::string* adapter;
    bool onGpio;
    bool gpioRow;
    std::optional<int> row;
  };
  for (const Case& c : {Case{nullptr, false, true, std::nullopt}, Case{nullptr, true, true, 3},
                        Case{&seven, false, false, 4}, Case{&seven, false, true, 5},
                        Case{&gone, false, true, std::nullopt}}) {
    EXPECT_EQ(rowOfBusInUse(c.adapter, c.onGpio, adapters, c.gpioRow), c.row);
  }
}

// The design at 96 DPI: a 430 x 331 client area, a 409 x 313 panel, 17-pixel bars.
ScrollLayoutInput designInput(int clientWidth = 430, int clientHeight = 331) {
  return {clientWidth, clientHeight, 409, 313, 17, 17};
}

TEST(ScrollLayoutTest, AtTheDesignSizeTheWholePanelShowsWithoutBars) {
  const ScrollLayout layout = computeScrollLayout(designInput());
  EXPECT_EQ(layout.viewport, (PixelRect{0, 0, 413, 314}));
  EXPECT_EQ(layout.hBar, (PixelRect{0, 314, 413, 17}));
  EXPECT_EQ(layout.vBar, (PixelRect{413, 0, 17, 314}));
  EXPECT_FALSE(layout.hVisible);
  EXPECT_FALSE(layout.vVisible);
  EXPECT_EQ(layout.hMaximum, 0);
  EXPECT_EQ(layout.vMaximum, 0);
}

TEST(ScrollLayoutTest, ShrinkingOneWayShowsOnlyThatBarWithTheMissingPixelsAsMaximum) {
  const ScrollLayout narrow = computeScrollLayout(designInput(300, 331));
  EXPECT_TRUE(narrow.hVisible);
  EXPECT_FALSE(narrow.vVisible);
  EXPECT_EQ(narrow.hMaximum, 409 - 283);

  const ScrollLayout low = computeScrollLayout(designInput(430, 200));
  EXPECT_FALSE(low.hVisible);
  EXPECT_TRUE(low.vVisible);
  EXPECT_EQ(low.vMaximum, 313 - 183);

  const ScrollLayout both = computeScrollLayout(designInput(200, 150));
  EXPECT_TRUE(both.hVisible && both.vVisible);
  EXPECT_EQ(both.hBar, (PixelRect{0, 133, 183, 17}));
  EXPECT_EQ(both.vBar, (PixelRect{183, 0, 17, 133}));
}

TEST(ScrollLayoutTest, AViewportExactlyAsLargeAsThePanelNeedsNoBar) {
  const ScrollLayout exact = computeScrollLayout(designInput(409 + 17, 313 + 17));
  EXPECT_FALSE(exact.hVisible);
  EXPECT_FALSE(exact.vVisible);
  const ScrollLayout oneLess = computeScrollLayout(designInput(409 + 16, 313 + 16));
  EXPECT_TRUE(oneLess.hVisible);
  EXPECT_TRUE(oneLess.vVisible);
  EXPECT_EQ(oneLess.hMaximum, 1);
  EXPECT_EQ(oneLess.vMaximum, 1);
}

TEST(ScrollLayoutTest, AClientAreaSmallerThanTheBarsIsInvalid) {
  try {
    computeScrollLayout(designInput(16, 331));
    FAIL() << "no error";
  } catch (const base::RuntimeError& error) {
    EXPECT_EQ(error.number(), 5);
  }
  EXPECT_THROW(computeScrollLayout(designInput(430, 0)), base::RuntimeError);
  // Exactly the bars' thickness leaves an empty viewport, which is still a layout.
  EXPECT_EQ(computeScrollLayout(designInput(17, 17)).viewport, (PixelRect{0, 0, 0, 0}));
}

TEST(ScrollLayoutTest, AValueBeyondALoweredMaximumMovesToTheMaximum) {
  EXPECT_EQ(clampScrollValue(50, 126), 50);
  EXPECT_EQ(clampScrollValue(126, 20), 20);
  EXPECT_EQ(clampScrollValue(30, 0), 0);
  EXPECT_EQ(clampScrollValue(-3, 10), 0);
}

}  // namespace
}  // namespace brelvion::windowlogic
