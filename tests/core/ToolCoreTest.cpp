#include <gtest/gtest.h>

#include <chrono>

#include "core/PortSwitch.h"
#include "core/RegisterCommands.h"
#include "port/gpio/GpioLinesText.h"
#include "port/i2cdev/I2cDevAdapter.h"
#include "simulator/SimulatedLines.h"
#include "support/EngineFixture.h"
#include "support/FakeI2cDevSystemCalls.h"
#include "support/RaisesRuntimeError.h"

namespace brelvion::testing {
namespace {

using namespace std::chrono_literals;

// GPIO lines have an engine of their own; what the user set for bit-banging goes with the
// bus from the cable's engine to theirs and back.
TEST(ToolCoreTest, LinesOfTheirOwnGetAnEngineWithTheSettingsOfTheOneBefore) {
  EngineSet<RecordingPort> set;
  set.engine.setBusDelay(0.002);
  set.engine.setStepTime(20us);
  set.engine.setStretchTimeout(100ms);
  simulator::SimulatedLines gpio;
  const core::LinesLookup lookup = [&gpio](const port::PortChoice&) { return &gpio; };
  port::gpio::GpioLinesChoice lines;
  ASSERT_FALSE(port::gpio::parseGpioLines("gpio:gpiochip0:3,2", lines));
  const auto gpioChoice = port::PortChoice::gpio(lines);

  core::selectPort(set.core, gpioChoice, {}, lookup);
  bus::BusEngine& onGpio = set.core.engine();
  ASSERT_NE(&onGpio, &set.engine);
  EXPECT_EQ(&onGpio.lines(), &gpio);
  EXPECT_EQ(set.core.lines(), &gpio);
  const bus::LineSettings carried = onGpio.settings();
  EXPECT_EQ(carried.stepTime, 20us);
  EXPECT_EQ(carried.stretchTimeout, 100ms);
  EXPECT_FALSE(carried.sdaCheckBeforeStart);
  EXPECT_DOUBLE_EQ(carried.busDelay, 0.002);

  set.port.log.clear();
  onGpio.setStepTime(40us);
  core::writeByteRegister(set.core.master(), 0x42, 0x12, 0x80);
  EXPECT_TRUE(set.port.log.empty()) << "the cable stays idle while GPIO lines carry the bus";

  core::selectPort(set.core, port::PortChoice::lpt(0), {}, lookup);
  EXPECT_EQ(&set.core.engine(), &set.engine);
  EXPECT_EQ(set.core.lines(), nullptr);
  EXPECT_EQ(set.engine.stepTime(), 40us);
  EXPECT_EQ(set.port.quanta.back(), 20us);
}

// The companion on an adapter builds no port and no lines for it.
TEST(ToolCoreTest, ACoreOnAnAdapterAloneHasNoLines) {
  FakeI2cDevSystemCalls calls;
  calls.kernel.addAdapter(3, "CP2112 SMBus Bridge on hidraw0").devices[0x21];
  FakeDesktop desktop;
  core::ToolCore core(std::make_unique<port::i2cdev::I2cDevAdapter>(3, calls), desktop);
  EXPECT_FALSE(core.hasLines());
  EXPECT_EQ(core.cable(), nullptr);
  core.master().openBus(0, 0);
  EXPECT_TRUE(core::writeByteRegister(core.master(), 0x42, 0x12, 0x80).acknowledged());
  EXPECT_EQ(calls.kernel.adapters[3].devices[0x21].registers[0x12], 0x80);
  EXPECT_THAT([&] { core.engine(); }, raisesRuntimeError(5, "no bus lines"));
  EXPECT_THAT([&] { core.useAdapter(nullptr); }, raisesRuntimeError(5));
  EXPECT_NE(core.adapter(), nullptr) << "refused, the adapter still carries the bus";
}

}  // namespace
}  // namespace brelvion::testing
