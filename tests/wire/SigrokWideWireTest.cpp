#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "bus/RegisterAccess.h"
#include "capture/BusCapture.h"
#include "simulator/SimulatedParallelPort.h"
#include "support/EngineFixture.h"
#include "support/SigrokRun.h"

// Register transfers of every width and both byte orders on the 16-bit sensor, as sigrok
// decodes them from the simulated wire.
namespace brelvion::testing {
namespace {

using i2c::ByteOrder;

struct BothSensorsPort : simulator::SimulatedParallelPort {
  static simulator::SimulatedBusConfig config() {
    simulator::SimulatedBusConfig config;
    config.sensor16Addresses = {0x20};
    return config;
  }
  BothSensorsPort() : SimulatedParallelPort(config()) {}
};

std::vector<std::string> writeLines(const std::string& address,
                                    const std::vector<std::string>& bytes) {
  std::vector<std::string> lines{"Start", "Write", "Address write: " + address, "ACK"};
  for (const std::string& byte : bytes) {
    lines.push_back("Data write: " + byte);
    lines.push_back("ACK");
  }
  lines.push_back("Stop");
  return lines;
}

std::vector<std::string> readLines(const std::string& address,
                                   const std::vector<std::string>& bytes) {
  std::vector<std::string> lines{"Start", "Read", "Address read: " + address, "ACK"};
  for (const std::string& byte : bytes) {
    lines.push_back("Data read: " + byte);
    lines.push_back("ACK");
  }
  lines.push_back("Stop");
  return lines;
}

TEST(SigrokWideWireTest, EveryWidthAndByteOrderOnTheWire) {
  ASSERT_EQ(runCommand("command -v sigrok-cli").status, 0) << "sigrok-cli is not on PATH";
  EngineSet<BothSensorsPort> set;
  set.engine.setBusDelay(0.001);
  set.engine.openBus(0, 0);
  set.engine.initPort(10);
  capture::BusCapture capture;
  set.port.setCapture(&capture);
  bus::writeRegister(set.engine, 0x20, {2, 1, ByteOrder::BigEndian}, 0x0600, 0x02);
  bus::writeRegister(set.engine, 0x20, {2, 2, ByteOrder::BigEndian}, 0x0200, 0x1234);
  bus::writeRegister(set.engine, 0x20, {2, 2, ByteOrder::LittleEndian}, 0x0202, 0x1234);
  bus::writeRegister(set.engine, 0x20, {2, 4, ByteOrder::BigEndian}, 0x0344, 0x00100020);
  bus::writeRegister(set.engine, 0x20, {2, 4, ByteOrder::LittleEndian}, 0x0348, 0x04370780);
  const auto big = bus::readRegisters(set.engine, 0x20, {2, 2, ByteOrder::BigEndian}, 0x0000, 1);
  const auto little =
      bus::readRegisters(set.engine, 0x20, {2, 4, ByteOrder::LittleEndian}, 0x0200, 1);
  // The camera sensor on the same bus, in the design's format.
  const auto camera = bus::readRegisters(set.engine, 0x42, i2c::kByteRegisters, 0xF8, 2);
  set.port.setCapture(nullptr);

  EXPECT_EQ(big.values, std::vector<std::uint32_t>{0xB716});
  EXPECT_EQ(little.values, std::vector<std::uint32_t>{0x12343412});
  EXPECT_EQ(camera.values, (std::vector<std::uint32_t>{0xB7, 0x3E}));
  std::vector<std::vector<std::string>> parts{
      writeLines("10", {"06", "00", "02"}),
      writeLines("10", {"02", "00", "12", "34"}),
      writeLines("10", {"02", "02", "34", "12"}),
      writeLines("10", {"03", "44", "00", "10", "00", "20"}),
      writeLines("10", {"03", "48", "80", "07", "37", "04"}),
      writeLines("10", {"00", "00"}),
      readLines("10", {"B7", "16"}),
      writeLines("10", {"02", "00"}),
      readLines("10", {"12", "34", "34", "12"}),
      writeLines("21", {"F8"}),
      readLines("21", {"B7", "3E"}),
  };
  std::vector<std::string> expected;
  for (const auto& part : parts) expected.insert(expected.end(), part.begin(), part.end());
  const CommandResult decoded = decodeI2c(capture, "wide");
  ASSERT_EQ(decoded.status, 0);
  EXPECT_EQ(decoded.lines, expected);
}

}  // namespace
}  // namespace brelvion::testing
