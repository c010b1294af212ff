#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "capture/BusCapture.h"
#include "simulator/SimulatedBusClock.h"
#include "simulator/SimulatedParallelPort.h"
#include "scripts/ScriptReader.h"
#include "scripts/ScriptRunner.h"
#include "support/EngineFixture.h"
#include "support/FakeClock.h"
#include "support/SigrokRun.h"

// A bring-up script run on the simulated 16-bit sensor, as sigrok decodes its writes.
namespace brelvion::testing {
namespace {

struct Sensor16Port : simulator::SimulatedParallelPort {
  static simulator::SimulatedBusConfig config() {
    simulator::SimulatedBusConfig config;
    config.sensorAddresses = {};
    config.sensor16Addresses = {0x20};
    return config;
  }
  Sensor16Port() : SimulatedParallelPort(config()) {}
};

// The writes of the decoded lines, one "ADDRESS: BYTES" a message.
std::vector<std::string> writesOf(const std::vector<std::string>& lines) {
  std::vector<std::string> writes;
  for (const std::string& line : lines) {
    if (line.rfind("Address write: ", 0) == 0) writes.push_back(line.substr(15) + ":");
    if (line.rfind("Data write: ", 0) == 0 && !writes.empty()) writes.back() += " " + line.substr(12);
  }
  return writes;
}

TEST(ScriptWireTest, AScriptsWritesModifyAndPointerWritesOnTheWire) {
  ASSERT_EQ(runCommand("command -v sigrok-cli").status, 0) << "sigrok-cli is not on PATH";
  EngineSet<Sensor16Port> set;
  set.engine.setBusDelay(0.001);
  set.engine.openBus(0, 0);
  set.engine.initPort(10);
  FakeClock waits;
  simulator::SimulatedBusClock clock(set.port, waits);
  const scripts::ReadResult read = scripts::readScript(
      "device 20\nregbits 16\n"
      "write 0103 01\n"
      "delay 5\n"
      "poll 0005 01 01 10\n"
      "write 0101 02\n"
      "modify 0101 01 FF\n"
      "valbits 16\n"
      "write 0200 0300\n",
      "wire.i2cs");
  ASSERT_TRUE(read.ok());
  capture::BusCapture capture;
  set.port.setCapture(&capture);
  const scripts::RunOutcome outcome =
      scripts::runScript(set.engine, clock, scripts::stepsOf(read.script), "wire.i2cs");
  set.port.setCapture(nullptr);
  ASSERT_EQ(outcome.end, scripts::RunEnd::Completed);

  const CommandResult decoded = decodeI2c(capture, "script");
  ASSERT_EQ(decoded.status, 0);
  // The reset, the poll's pointer write (ready at once after the delay), a write, the
  // modify's pointer write and its write of (02 AND NOT 01) OR (FF AND 01), the 16-bit value.
  EXPECT_EQ(writesOf(decoded.lines),
            (std::vector<std::string>{"10: 01 03 01", "10: 00 05", "10: 01 01 02", "10: 01 01",
                                      "10: 01 01 03", "10: 02 00 03 00"}));
}

}  // namespace
}  // namespace brelvion::testing
