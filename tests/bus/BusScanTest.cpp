#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "bus/BusScan.h"
#include "bus/ScanTable.h"
#include "port/i2cdev/I2cDevAdapter.h"
#include "simulator/SimulatedParallelPort.h"
#include "support/ConfiguredSimulation.h"
#include "support/EngineFixture.h"
#include "support/FakeI2cDevSystemCalls.h"

namespace brelvion::bus {
namespace {

using simulator::SimulatedBusConfig;
using simulator::SimulatedParallelPort;
using testing::ConfiguredPort;
using testing::EngineSet;

struct ThreeSensors {
  void operator()(SimulatedBusConfig& c) const { c.sensorAddresses = {0x42, 0x60, 0xA0}; }
};
struct SdaHeldLow {
  void operator()(SimulatedBusConfig& c) const { c.sdaHeldLow = true; }
};

template <typename Port>
void open(EngineSet<Port>& set) {
  set.engine.setBusDelay(0.001);
  set.debuggerState.traceBufferSize = 100000;
  set.engine.openBus(0, 0);
  set.engine.initPort(10);
}

TEST(BusScanTest, ProbesAsI2cdetectDoesByDefault) {
  for (unsigned address : {0x08u, 0x2Fu, 0x38u, 0x4Fu, 0x60u, 0x77u}) {
    EXPECT_EQ(probeMethodFor(static_cast<std::uint8_t>(address)), ProbeMethod::QuickWrite) << address;
  }
  for (unsigned address : {0x30u, 0x37u, 0x50u, 0x5Fu}) {
    EXPECT_EQ(probeMethodFor(static_cast<std::uint8_t>(address)), ProbeMethod::ReadByte) << address;
  }
}

TEST(BusScanTest, OnTheSimulatedBusItFindsExactlyItsSensorsQuietly) {
  EngineSet<ConfiguredPort<ThreeSensors>> set;
  open(set);
  EXPECT_EQ(scanBus(set.engine).answered, (std::vector<std::uint8_t>{0x42, 0x60, 0xA0}));
  EXPECT_EQ(set.desktop.beeps, 0);

  set.log.setEnabled(true);
  set.debuggerState.stopOnError = true;
  const ScanOutcome all = scanBus(set.engine, kFullScanRange);
  EXPECT_EQ(all.answered, (std::vector<std::uint8_t>{0x42, 0x60, 0xA0}));
  EXPECT_TRUE(set.desktop.boxes.empty());
  const auto lines = set.traceLines();
  EXPECT_EQ(std::count_if(lines.begin(), lines.end(),
                          [](const std::string& l) { return l.rfind("Wisp ERR", 0) == 0; }),
            0);
  EXPECT_EQ(std::count_if(lines.begin(), lines.end(),
                          [](const std::string& l) { return l.rfind("Wisp MSG001", 0) == 0; }),
            128);
  // Of the 24 read probes only the acknowledged ones, 60h's and A0h's, clock their byte.
  EXPECT_EQ(std::count_if(lines.begin(), lines.end(),
                          [](const std::string& l) { return l.rfind("Wisp MSG005", 0) == 0; }),
            2);
  // Afterwards the sensors answer as before.
  std::int16_t address = 0x42;
  EXPECT_TRUE(set.design.readRegisters(address, 0xF8, 0));
  EXPECT_EQ(set.design.ReadBuffer, std::vector<std::int16_t>{0xB7});
}

TEST(BusScanTest, ASdaHeldLowIsSaidAndNothingIsProbed) {
  EngineSet<ConfiguredPort<SdaHeldLow>> set;
  open(set);
  set.log.setEnabled(true);
  set.trace.replaceText("");
  const ScanOutcome outcome = scanBus(set.engine);
  EXPECT_TRUE(outcome.sdaHeldLow);
  EXPECT_TRUE(outcome.answered.empty());
  EXPECT_EQ(set.trace.text(), "");
  EXPECT_EQ(scanSummaryText(outcome, AddressLabels::EightBit), kSdaHeldLowText);
  EXPECT_EQ(scanGrid(outcome, kUsualScanRange, AddressLabels::EightBit).cells[2][1], "");
  EXPECT_EQ(kSdaHeldLowText,
            "SDA is held low: something on the bus (a device stuck in a transfer, a short, a "
            "missing pull-up) keeps the data line down, so nothing was probed. Switch the devices "
            "off and on, check the cable and the pull-ups, then scan again");
}

TEST(BusScanTest, OnAnAdapterEachAddressIsOneCall) {
  testing::FakeI2cDevSystemCalls calls;
  auto& adapter = calls.kernel.addAdapter(1, "SMBus stub driver", I2C_FUNC_SMBUS_EMUL);
  adapter.devices[0x21];
  adapter.devices[0x50];
  EngineSet<testing::RecordingPort> set;
  set.core.useAdapter(std::make_unique<port::i2cdev::I2cDevAdapter>(1, calls));
  EXPECT_EQ(scanBus(set.core.master()).answered, (std::vector<std::uint8_t>{0x42, 0xA0}));
  EXPECT_TRUE(set.port.log.empty());
  EXPECT_EQ(calls.kernel.transfers(), 112);
  EXPECT_THAT(calls.kernel.log, ::testing::Contains("ioctl 3 I2C_SMBUS read BYTE 00"));
}

TEST(ScanTableTest, TheGridInI2cdetectsLayoutWithEightOrSevenBitLabels) {
  const std::vector<std::uint8_t> answered{0x42, 0x60, 0xA0};
  EXPECT_EQ(scanGridText(scanGrid({false, answered}, kUsualScanRange, AddressLabels::EightBit)),
            "    00 02 04 06 08 0A 0C 0E 10 12 14 16 18 1A 1C 1E\n"
            "00:                         -- -- -- -- -- -- -- --\n"
            "20: -- -- -- -- -- -- -- -- -- -- -- -- -- -- -- --\n"
            "40: -- 42 -- -- -- -- -- -- -- -- -- -- -- -- -- --\n"
            "60: 60 -- -- -- -- -- -- -- -- -- -- -- -- -- -- --\n"
            "80: -- -- -- -- -- -- -- -- -- -- -- -- -- -- -- --\n"
            "A0: A0 -- -- -- -- -- -- -- -- -- -- -- -- -- -- --\n"
            "C0: -- -- -- -- -- -- -- -- -- -- -- -- -- -- -- --\n"
            "E0: -- -- -- -- -- -- -- --\n");
  EXPECT_EQ(scanGridText(scanGrid({false, answered}, kFullScanRange, AddressLabels::SevenBit)),
            "     0  1  2  3  4  5  6  7  8  9  A  B  C  D  E  F\n"
            "00: -- -- -- -- -- -- -- -- -- -- -- -- -- -- -- --\n"
            "10: -- -- -- -- -- -- -- -- -- -- -- -- -- -- -- --\n"
            "20: -- 21 -- -- -- -- -- -- -- -- -- -- -- -- -- --\n"
            "30: 30 -- -- -- -- -- -- -- -- -- -- -- -- -- -- --\n"
            "40: -- -- -- -- -- -- -- -- -- -- -- -- -- -- -- --\n"
            "50: 50 -- -- -- -- -- -- -- -- -- -- -- -- -- -- --\n"
            "60: -- -- -- -- -- -- -- -- -- -- -- -- -- -- -- --\n"
            "70: -- -- -- -- -- -- -- -- -- -- -- -- -- -- -- --\n");
  EXPECT_EQ(scanListText(answered, AddressLabels::EightBit), "42\n60\nA0\n");
  EXPECT_EQ(scanListText(answered, AddressLabels::SevenBit), "21\n30\n50\n");
  EXPECT_EQ(scanListText({}, AddressLabels::SevenBit), "");
  EXPECT_EQ(addressOfCell(2, 1), 0x42);
  EXPECT_EQ(addressOfCell(7, 15), 0xFE);
}

TEST(ScanTableTest, TheSummarySaysWhatAnswered) {
  EXPECT_EQ(scanSummaryText({false, {0x42, 0x60}}, AddressLabels::EightBit),
            "2 devices answered: 42, 60");
  EXPECT_EQ(scanSummaryText({false, {0x42}}, AddressLabels::SevenBit), "1 device answered: 21");
  EXPECT_EQ(scanSummaryText({}, AddressLabels::EightBit), "No device answered");
}

}  // namespace
}  // namespace brelvion::bus
