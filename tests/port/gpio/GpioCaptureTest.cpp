#include <gtest/gtest.h>

#include <algorithm>
#include <tuple>
#include <vector>

#include "capture/BusCapture.h"
#include "port/gpio/GpioCapture.h"
#include "port/gpio/GpioLineRequest.h"
#include "port/gpio/GpioLines.h"
#include "simulator/SimulatedBusConfig.h"
#include "support/FakeGpioKernel.h"
#include "support/WireTokens.h"

namespace brelvion::port::gpio {
namespace {

using Sample = capture::BusCapture::Sample;
using Levels = std::tuple<std::int64_t, bool, bool>;

// Time, SCL and SDA of each sample.
std::vector<Levels> samplesOf(const capture::BusCapture& capture) {
  std::vector<Levels> levels;
  for (const Sample& sample : capture.samples())
    levels.emplace_back(sample.timeNs, sample.scl, sample.sda);
  return levels;
}

TEST(GpioCaptureTest, TheMastersOwnLevelsFromTheMomentItSetsThem) {
  GpioCapture lines;
  lines.lineSet(kSdaIndex, false, 5);  // before the recording: followed, not recorded
  capture::BusCapture capture;
  lines.setCapture(&capture, 10);
  lines.lineSet(kSclIndex, false, 20);
  lines.lineSet(kSdaIndex, true, 30);
  lines.setCapture(nullptr, 40);
  lines.lineSet(kSclIndex, true, 50);
  EXPECT_EQ(samplesOf(capture),
            (std::vector<Levels>{{10, true, false}, {20, false, false}, {30, false, true}}));
}

TEST(GpioCaptureTest, ASlavesSdaIsWrittenBackToWhenItWasFreeToChange) {
  GpioCapture lines;
  capture::BusCapture capture;
  lines.setCapture(&capture, 0);
  lines.lineSet(kSclIndex, false, 100);  // the slave may change SDA from here on
  lines.lineSet(kSclIndex, true, 200);
  lines.lineRead(kSdaIndex, false, 210);  // it acknowledged
  lines.lineSet(kSclIndex, false, 300);
  lines.lineRead(kSdaIndex, true, 320);  // and let go after SCL fell
  EXPECT_EQ(samplesOf(capture),
            (std::vector<Levels>{
                {0, true, true}, {100, false, false}, {200, true, false}, {300, false, true}}));
}

TEST(GpioCaptureTest, AStretchedClockIsLowFromTheReleaseUntilItReadsHigh) {
  GpioCapture lines;
  capture::BusCapture capture;
  lines.setCapture(&capture, 0);
  lines.lineSet(kSclIndex, false, 100);
  lines.lineSet(kSclIndex, true, 200);    // released, but
  lines.lineRead(kSclIndex, false, 210);  // a slave holds it
  lines.lineRead(kSclIndex, false, 400);
  lines.lineRead(kSclIndex, true, 900);  // until here
  lines.lineRead(kSclIndex, true, 950);
  EXPECT_EQ(samplesOf(capture),
            (std::vector<Levels>{{0, true, true}, {100, false, true}, {900, true, true}}));
  // Reads of a line the master pulls low are its own doing.
  lines.lineSet(kSdaIndex, false, 1000);
  lines.lineRead(kSdaIndex, false, 1010);
  EXPECT_EQ(samplesOf(capture).back(), (Levels{1000, true, false}));
}

// Real time on the fake kernel: the sensor holds SCL low 200 us after each byte.
TEST(GpioCaptureTest, GpioLinesRecordAStretchingSensorsWriteAsTheWireHasIt) {
  testing::FakeGpioKernel kernel;
  auto& chip = kernel.addChip("gpiochip0", "pinctrl-bcm2711", 54);
  simulator::SimulatedI2cBus bus;
  simulator::SimulatedBusConfig stretching;
  stretching.clockStretchNs = 200'000;
  simulator::attachSensors(bus, stretching);
  kernel.wire(chip, 3, 2, bus);
  GpioLinesChoice choice;
  ASSERT_FALSE(parseGpioLines("gpio:gpiochip0:3,2", choice));
  GpioLines lines(choice, kernel, kernel.root());

  capture::BusCapture capture;
  lines.setCapture(&capture);
  const auto step = [&] { lines.waitQuanta(2); };
  const auto clockBit = [&](bool bit) {
    lines.setSda(bit);
    step();
    lines.setScl(true);
    while (!lines.scl().value_or(true)) lines.waitQuanta(1);
    step();
    lines.setScl(false);
    step();
  };
  lines.setSda(false);  // START
  step();
  lines.setScl(false);
  step();
  for (int bit = 7; bit >= 0; --bit) clockBit(((0x42 >> bit) & 1) != 0);
  lines.setSda(true);  // the acknowledge slot
  step();
  lines.setScl(true);
  while (!lines.scl().value_or(true)) lines.waitQuanta(1);
  const bool acknowledged = !lines.sda();
  step();
  lines.setScl(false);
  step();
  lines.setSda(false);  // STOP
  step();
  lines.setScl(true);
  while (!lines.scl().value_or(true)) lines.waitQuanta(1);
  step();
  lines.setSda(true);
  lines.setCapture(nullptr);

  EXPECT_TRUE(acknowledged);
  EXPECT_EQ(testing::wireTokens(capture.samples()),
            "S010000100"
            "0P");
  // Where the master let SCL go but the sensor held it, SCL stays low in the capture: far
  // longer than the master's own 5 us steps (the stretch began as SCL fell, a step or two
  // before the master let go, and the STOP's SDA change may split it).
  std::int64_t longestLow = 0;
  for (std::size_t i = 1; i < capture.samples().size(); ++i) {
    const Sample& before = capture.samples()[i - 1];
    if (!before.scl) longestLow = std::max(longestLow, capture.samples()[i].timeNs - before.timeNs);
  }
  EXPECT_GE(longestLow, 150'000);
}

}  // namespace
}  // namespace brelvion::port::gpio
