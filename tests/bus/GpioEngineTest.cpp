#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <algorithm>

#include "core/ToolCore.h"
#include "port/gpio/GpioLines.h"
#include "simulator/CameraSensor.h"
#include "simulator/SimulatedBusConfig.h"
#include "simulator/SimulatedParallelPort.h"
#include "support/EngineFixture.h"
#include "support/FakeDesktop.h"
#include "support/FakeGpioKernel.h"
#include "support/MarkedLines.h"
#include "support/MasterWireDecoder.h"
#include "support/RaisesRuntimeError.h"

namespace brelvion::testing {
namespace {

using namespace std::chrono_literals;
using simulator::CameraSensor;
using simulator::SimulatedBusConfig;

constexpr std::uint32_t kSclOffset = 3;
constexpr std::uint32_t kSdaOffset = 2;

// The engine on GPIO lines 3 (SCL) and 2 (SDA) of a chip wired to a simulated bus with the
// sensors of config: the whole path through the fake kernel's calls.
class GpioEngine {
 public:
  explicit GpioEngine(const SimulatedBusConfig& config = {},
                      std::chrono::nanoseconds quantum = 0ns) {
    simulator::attachSensors(bus, config);
    kernel.wire(chip, kSclOffset, kSdaOffset, bus);
    port::gpio::GpioLinesOptions options;
    options.quantum = quantum;
    port::gpio::GpioLinesChoice choice;
    EXPECT_FALSE(port::gpio::parseGpioLines("gpio:gpiochip0:3,2", choice));
    lines = std::make_unique<port::gpio::GpioLines>(choice, kernel, kernel.root(), options);
    core = std::make_unique<core::ToolCore>(*lines, desktop);
    core->engine().setBusDelay(0.001);
    core->log().debuggerState().traceBufferSize = 1000;
  }
  void open(std::int16_t debug = 0) {
    core->engine().openBus(0, debug);
    core->engine().initPort(10);
  }
  std::vector<std::int16_t> writeAndReadBack(std::int16_t value) {
    std::int16_t address = 0x42;
    DesignTransactions transactions = testing::design(core->engine());
    transactions.writeRegister(address, 0x10, value);
    transactions.setRegisterPointer(address, 0x0F);
    transactions.readSequential(address, 2);
    return transactions.ReadBuffer;
  }

  FakeGpioKernel kernel;
  FakeGpioKernel::Chip& chip = kernel.addChip("gpiochip0", "pinctrl-bcm2711", 54);
  simulator::SimulatedI2cBus bus;
  std::unique_ptr<port::gpio::GpioLines> lines;
  FakeDesktop desktop;
  std::unique_ptr<core::ToolCore> core;
};

const std::vector<std::int16_t> kReadBack{CameraSensor::defaultValue(0x0F), 0x5A,
                                          CameraSensor::defaultValue(0x11)};

TEST(GpioEngineTest, WritesAndReadsTheSensorWithTheTraceOfTheParallelPort) {
  GpioEngine gpio;
  gpio.open(1);
  EXPECT_EQ(gpio.writeAndReadBack(0x5A), kReadBack);
  EXPECT_TRUE(gpio.core->engine().ackReceived());
  gpio.core->engine().closeBus();
  const auto lines = gpio.core->trace().text();
  EXPECT_EQ(lines.substr(0, 2 + 50 + 2),
            "\r\n" + markedLine("Wisp SYS002: I2C bus opened on gpio:gpiochip0:3,2 |") + "\r\n");
  EXPECT_EQ(gpio.desktop.beeps, 0);
  EXPECT_EQ(gpio.kernel.drivenHigh, 0);
  EXPECT_TRUE(gpio.bus.scl() && gpio.bus.sda());

  // The same trace as on the parallel port, but for the line that opens the bus.
  EngineSet<simulator::SimulatedParallelPort> lpt;
  lpt.engine.setBusDelay(0.001);
  lpt.debuggerState.traceBufferSize = 1000;
  lpt.engine.openBus(0, 1);
  lpt.engine.initPort(10);
  std::int16_t address = 0x42;
  lpt.design.writeRegister(address, 0x10, 0x5A);
  lpt.design.setRegisterPointer(address, 0x0F);
  lpt.design.readSequential(address, 2);
  lpt.engine.closeBus();
  const std::string lptText = lpt.trace.text();
  EXPECT_EQ(lines.substr(lines.find("\r\nWisp SYS001")),
            lptText.substr(lptText.find("\r\nWisp SYS001")));
}

// Line for line, the master drives the GPIO lines as it drives the cable.
TEST(GpioEngineTest, TheMasterPutsWhatItPutsOnTheCableOnTheLines) {
  GpioEngine gpio;
  gpio.open();
  EngineSet<RecordingPort> lpt;
  lpt.engine.setBusDelay(0.001);
  lpt.engine.openBus(0, 0);
  lpt.engine.initPort(10);
  lpt.port.defaultRead = 0x00;

  const auto run = [](bus::BusEngine& engine) {
    std::int16_t address = 0x42;
    testing::design(engine).writeRegister(address, 0x12, 0x80);
    testing::design(engine).setRegisterPointer(address, 0x12);
    testing::design(engine).readSequential(address, 3);
  };
  gpio.kernel.events.clear();
  lpt.port.log.clear();
  run(gpio.core->engine());
  run(lpt.engine);
  EXPECT_EQ(masterWire(gpio.kernel.events, kSclOffset, kSdaOffset), masterWire(lpt.port.log));
  EXPECT_EQ(masterWire(lpt.port.log).substr(0, 31),
            wire({"S", sentByte(0x42), sentByte(0x12), sentByte(0x80), "0P", "S"}));
}

TEST(GpioEngineTest, AChipThatSwitchesDirectionCarriesTheSameTraffic) {
  GpioEngine gpio;
  gpio.chip.readsOutputs = false;
  gpio.open();
  EXPECT_FALSE(gpio.lines->request().openDrain);
  EXPECT_EQ(gpio.writeAndReadBack(0x5A), kReadBack);
  EXPECT_EQ(gpio.kernel.drivenHigh, 0);
  const auto configs = std::count_if(gpio.kernel.events.begin(), gpio.kernel.events.end(),
                                     [](const auto& event) { return event.kind == FakeGpioKernel::Kind::Config; });
  EXPECT_GT(configs, 0);
}

// Real time on the fake kernel: the sensor holds SCL 200 us after each byte, well inside
// the 25 ms, and the lines read it back until it lets go.
TEST(GpioEngineTest, ASensorThatStretchesTheClockIsWaitedFor) {
  SimulatedBusConfig stretching;
  stretching.clockStretchNs = 200'000;
  GpioEngine gpio(stretching, port::kHardwareQuantum);
  gpio.open();
  EXPECT_EQ(gpio.writeAndReadBack(0x5A), kReadBack);
  EXPECT_TRUE(gpio.core->engine().ackReceived());
}

TEST(GpioEngineTest, AStretchBeyondTheTimeoutEndsTheCommand) {
  SimulatedBusConfig stretching;
  stretching.clockStretchNs = 20'000'000;
  GpioEngine gpio(stretching, port::kHardwareQuantum);
  gpio.core->engine().setStretchTimeout(2ms);
  gpio.open();
  std::int16_t address = 0x42;
  EXPECT_THAT([&] { testing::design(gpio.core->engine()).writeRegister(address, 0x10, 0x5A); },
              raisesRuntimeError(24, "SCL stayed low for more than 2 ms"));
  EXPECT_TRUE(gpio.bus.masterReleasesScl() && gpio.bus.masterReleasesSda());
}

TEST(GpioEngineTest, RecoveryFreesASensorTheBusClearLeavesHoldingSda) {
  SimulatedBusConfig stuck;
  stuck.stuckMidByte = true;
  stuck.stuckBitsClocked = 2;
  GpioEngine gpio(stuck);
  gpio.open();
  EXPECT_FALSE(gpio.bus.sda());
  const bus::RecoveryResult result = gpio.core->engine().recoverBus();
  EXPECT_TRUE(result.free);
  EXPECT_EQ(result.pulses, 1);
  EXPECT_EQ(gpio.writeAndReadBack(0x5A), kReadBack);
}

TEST(GpioEngineTest, AChipGoneMidCommandEndsItWithErrorSixtyEightAndClosesEverything) {
  GpioEngine gpio;
  gpio.open();
  gpio.kernel.removeAfterCalls = 40;
  std::int16_t address = 0x42;
  EXPECT_THAT([&] { testing::design(gpio.core->engine()).writeRegister(address, 0x10, 0x5A); },
              raisesRuntimeError(68, "Access to " + gpio.kernel.path("gpiochip0") +
                                         " failed: No such device"));
  EXPECT_EQ(gpio.kernel.openDescriptors(), 0u);
}

}  // namespace
}  // namespace brelvion::testing
