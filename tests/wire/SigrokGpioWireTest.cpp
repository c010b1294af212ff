// A capture made on GPIO lines of the fake kernel, with real step timing, decodes in sigrok
// to the same START, address, data, acknowledge and STOP items as the same transactions
// captured on the simulated parallel port.
#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdio>
#include <memory>
#include <string>
#include <vector>

#include "core/ToolCore.h"
#include "capture/BusCapture.h"
#include "port/gpio/GpioLines.h"
#include "simulator/SimulatedParallelPort.h"
#include "support/EngineFixture.h"
#include "support/FakeDesktop.h"
#include "support/FakeGpioKernel.h"
#include "support/SigrokRun.h"

namespace brelvion {
namespace {

using simulator::SimulatedBusConfig;

// A write, a write nobody answers, and a register read, recorded from an idle bus.
void runTransactions(bus::BusEngine& engine) {
  std::int16_t address = 0x42;
  testing::design(engine).writeRegister(address, 0x10, 0x5A);
  std::int16_t absent = 0x50;
  testing::design(engine).writeRegister(absent, 0x01, 0x02);
  testing::design(engine).readRegisters(address, 0x0F, 2);
}

std::vector<std::string> decoded(const capture::BusCapture& capture, const std::string& name) {
  const testing::CommandResult result = testing::decodeI2c(capture, "wire_" + name);
  EXPECT_EQ(result.status, 0);
  return result.lines;
}

std::vector<std::string> onTheParallelPort() {
  testing::EngineSet<simulator::SimulatedParallelPort> set;
  set.engine.setBusDelay(0.001);
  set.engine.openBus(0, 0);
  set.engine.initPort(10);
  capture::BusCapture capture;
  set.port.setCapture(&capture);
  runTransactions(set.engine);
  set.port.setCapture(nullptr);
  return decoded(capture, "lpt");
}

std::vector<std::string> onGpioLines(const SimulatedBusConfig& config) {
  testing::FakeGpioKernel kernel;
  auto& chip = kernel.addChip("gpiochip0", "pinctrl-bcm2711", 54);
  simulator::SimulatedI2cBus bus;
  simulator::attachSensors(bus, config);
  kernel.wire(chip, 3, 2, bus);
  port::gpio::GpioLinesChoice choice;
  EXPECT_FALSE(port::gpio::parseGpioLines("gpio:gpiochip0:3,2", choice));
  port::gpio::GpioLines lines(choice, kernel, kernel.root());
  testing::FakeDesktop desktop;
  core::ToolCore core(lines, desktop);
  core.engine().setBusDelay(0.001);
  core.engine().openBus(0, 0);
  core.engine().initPort(10);
  capture::BusCapture capture;
  lines.setCapture(&capture);
  runTransactions(core.engine());
  lines.setCapture(nullptr);
  core.engine().closeBus();
  return decoded(capture, "gpio");
}

TEST(SigrokGpioWireTest, AGpioCaptureDecodesAsTheSameCommandOnTheParallelPort) {
  if (!testing::sigrokAvailable()) GTEST_SKIP() << "sigrok-cli is not on PATH";
  // The parallel port's decode of these transactions is pinned item by item in
  // SigrokWireTest; here it only has to be there.
  const std::vector<std::string> lpt = onTheParallelPort();
  ASSERT_GE(lpt.size(), 30u);
  EXPECT_EQ(lpt.front(), "Start");
  EXPECT_EQ(lpt.back(), "Stop");
  EXPECT_EQ(onGpioLines({}), lpt);
}

// A sensor that holds SCL low 100 us after each byte: the capture shows SCL low until it
// let go, which a decoder reads as the same bits.
TEST(SigrokGpioWireTest, AStretchedClockDecodesToTheSameItems) {
  if (!testing::sigrokAvailable()) GTEST_SKIP() << "sigrok-cli is not on PATH";
  SimulatedBusConfig stretching;
  stretching.clockStretchNs = 100'000;
  EXPECT_EQ(onGpioLines(stretching), onTheParallelPort());
}

}  // namespace
}  // namespace brelvion
