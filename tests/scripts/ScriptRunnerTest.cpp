#include <gtest/gtest.h>

#include <chrono>
#include <limits>
#include <string>
#include <vector>

#include "simulator/Sensor16.h"
#include "simulator/SimulatedBusClock.h"
#include "simulator/SimulatedParallelPort.h"
#include "scripts/ScriptReader.h"
#include "scripts/ScriptRunner.h"
#include "support/EngineFixture.h"
#include "support/FakeClock.h"

// Scripts run on the simulated 16-bit sensor at 20h, timed on the bus's own clock.
namespace brelvion::scripts {
namespace {

using namespace std::chrono_literals;
using simulator::Sensor16;

struct Sensor16Port : simulator::SimulatedParallelPort {
  static simulator::SimulatedBusConfig config() {
    simulator::SimulatedBusConfig config;
    config.sensorAddresses = {};
    config.sensor16Addresses = {0x20};
    return config;
  }
  Sensor16Port() : SimulatedParallelPort(config()) {}
};

constexpr const char* kHead = "device 20\nregbits 16\n";

class ScriptRunnerTest : public ::testing::Test {
 protected:
  void SetUp() override {
    set.engine.setBusDelay(0.001);
    set.engine.openBus(0, 0);
    set.engine.initPort(10);
  }

  // Runs the script text (after kHead unless it has its own device line).
  RunOutcome run(const std::string& text, RunOptions options = {}) {
    const ReadResult read = readScript(text.rfind("device", 0) == 0 ? text : kHead + text,
                                       "bring-up.i2cs");
    EXPECT_TRUE(read.ok()) << read.problems.front().text();
    RunHooks withReports = hooks;
    withReports.reported = [this](const CommandReport& report) { reports.push_back(report); };
    return runScript(set.engine, busClock, stepsOf(read.script), "bring-up.i2cs", options,
                     withReports);
  }
  std::uint8_t sensorByte(std::uint16_t address) {
    return static_cast<Sensor16&>(set.port.bus().slave(0)).byteAt(address);
  }
  std::int64_t busMs() const { return set.port.nowNs() / 1'000'000; }

  testing::EngineSet<Sensor16Port> set;
  testing::FakeClock waits;
  simulator::SimulatedBusClock busClock{set.port, waits};
  RunHooks hooks;
  std::vector<CommandReport> reports;
};

TEST_F(ScriptRunnerTest, ABringUpResetsWaitsForReadyChecksTheChipAndStarts) {
  const RunOutcome outcome = run(
      "write 0103 01\n"
      "delay 5\n"
      "poll 0005 01 01 100\n"
      "valbits 16\n"
      "expect 0000 B716\n"
      "write 0200 0123\n"
      "valbits 8\n"
      "modify 0101 03 01\n"
      "write 0100 01\n"
      "read 0200 3\n");
  EXPECT_EQ(outcome.end, RunEnd::Completed);
  EXPECT_EQ(outcome.commands, 7u);
  EXPECT_EQ(outcome.total, 7u);
  EXPECT_FALSE(outcome.problem);
  ASSERT_EQ(reports.size(), 7u);
  // The delay let the reset end on the bus's clock: the first read found the sensor ready.
  EXPECT_EQ(reports[1].values, std::vector<std::uint32_t>{0x01});
  EXPECT_EQ(reports[1].elapsed, 0ms);
  EXPECT_EQ(reports[2].values, std::vector<std::uint32_t>{0xB716});
  EXPECT_EQ(reports[6].values, (std::vector<std::uint32_t>{0x01, 0x23, 0x00}));
  EXPECT_EQ(sensorByte(0x0101), 0x01);
  EXPECT_EQ(sensorByte(0x0100), 0x01);
  EXPECT_EQ(waits.sleeps, std::vector<std::chrono::nanoseconds>{5ms});
}

TEST_F(ScriptRunnerTest, APollReadsUntilTheResetIsOverOnTheBusClock) {
  run("write 0103 01\npoll 0005 01 01 100\n");
  ASSERT_EQ(reports.size(), 2u);
  const CommandReport& poll = reports[1];
  EXPECT_EQ(poll.result, CommandResult::Done);
  EXPECT_EQ(poll.values, std::vector<std::uint32_t>{0x01});
  // Not ready for 5 ms after the reset's write: reads 1 ms apart (each taking about 1 ms of
  // bus time at 5 us a line step) until one finds the ready bit.
  EXPECT_GE(poll.elapsed, 5ms);
  EXPECT_LE(poll.elapsed, 7ms);
  EXPECT_GE(waits.sleeps.size(), 2u);
  for (const auto sleep : waits.sleeps) EXPECT_EQ(sleep, 1ms);
}

TEST_F(ScriptRunnerTest, APollThatNeverSeesItsValueStopsWithTheValueRead) {
  const RunOutcome outcome = run("poll 0005 02 02 10\nwrite 0600 02\n");
  EXPECT_EQ(outcome.end, RunEnd::CheckFailed);
  ASSERT_TRUE(outcome.problem);
  EXPECT_EQ(outcome.problem->text(),
            "bring-up.i2cs:3: poll 0005: read 01 after 10 ms, still not 02 under mask 02");
  EXPECT_GE(busMs(), 10);
  EXPECT_EQ(sensorByte(0x0600), 0x00);
  EXPECT_EQ(reports.back().result, CommandResult::CheckFailed);
}

TEST_F(ScriptRunnerTest, ModifyReadsThenWritesOnlyTheMaskedBits) {
  run("write 0101 02\nmodify 0101 01 FF\nmodify 0101 02 00\n");
  ASSERT_EQ(reports.size(), 3u);
  EXPECT_EQ(reports[1].values, std::vector<std::uint32_t>{0x02});
  EXPECT_EQ(reports[1].written, 0x03u);
  EXPECT_EQ(reports[2].values, std::vector<std::uint32_t>{0x03});
  EXPECT_EQ(reports[2].written, 0x01u);
  EXPECT_EQ(sensorByte(0x0101), 0x01);
}

TEST_F(ScriptRunnerTest, AFailedExpectStopsBeforeTheNextWrite) {
  const RunOutcome outcome = run("valbits 16\nexpect 0000 0219\nvalbits 8\nwrite 0600 02\n");
  EXPECT_EQ(outcome.end, RunEnd::CheckFailed);
  EXPECT_EQ(outcome.commands, 1u);
  EXPECT_EQ(outcome.problem->text(), "bring-up.i2cs:4: expect 0000: read B716, expected 0219");
  EXPECT_EQ(sensorByte(0x0600), 0x00);
}

TEST_F(ScriptRunnerTest, ANotAcknowledgedCommandStopsUnlessKeepGoing) {
  const std::string script = "device 30\nwrite 01 02\ndevice 20\nregbits 16\nwrite 0600 02\n";
  const RunOutcome stopped = run(script);
  EXPECT_EQ(stopped.end, RunEnd::NotAcknowledged);
  EXPECT_EQ(stopped.problem->text(), "bring-up.i2cs:2: write 01: not acknowledged by device 30");
  EXPECT_EQ(reports.at(0).refusal, i2c::MessageOutcome::AddressNotAcknowledged);
  EXPECT_EQ(sensorByte(0x0600), 0x00);

  const RunOutcome went = run(script, RunOptions{.keepGoing = true});
  EXPECT_EQ(went.end, RunEnd::Completed);
  EXPECT_EQ(went.unacknowledged, 1u);
  EXPECT_FALSE(went.problem);
  EXPECT_EQ(sensorByte(0x0600), 0x02);
}

TEST_F(ScriptRunnerTest, AModifyWhoseReadIsNotAcknowledgedWritesNothing) {
  const RunOutcome outcome = run("device 30\nmodify 01 01 01\n", RunOptions{.keepGoing = true});
  ASSERT_EQ(reports.size(), 1u);
  EXPECT_EQ(reports[0].result, CommandResult::NotAcknowledged);
  EXPECT_FALSE(reports[0].written);
  EXPECT_EQ(outcome.unacknowledged, 1u);
}

TEST_F(ScriptRunnerTest, AStopBetweenCommandsOrInALongDelayEndsTheRun) {
  int yields = 0;
  hooks.yield = [&] { ++yields; };
  hooks.stopRequested = [&] { return yields == 3; };
  std::vector<std::size_t> progress;
  hooks.progress = [&](std::size_t index, std::size_t total) {
    progress.push_back(index * 100 + total);
  };
  const RunOutcome outcome = run("write 0600 01\ndelay 3600000\nwrite 0600 02\n");
  EXPECT_EQ(outcome.end, RunEnd::Stopped);
  EXPECT_EQ(outcome.commands, 1u);
  EXPECT_EQ(progress, std::vector<std::size_t>{102});
  // The hour is slept in slices of 50 ms, a yield after each.
  EXPECT_EQ(waits.sleeps, (std::vector<std::chrono::nanoseconds>{50ms, 50ms}));
  EXPECT_EQ(sensorByte(0x0600), 0x01);
}

// Acknowledges reads and register-pointer writes, each read giving 5Ah; refuses every
// write that carries a value.
struct ValueWriteRefusingMaster : i2c::I2cMaster {
  i2c::TransferResult transfer(i2c::MessageSpan messages) override {
    i2c::TransferResult result;
    for (const i2c::I2cMessage& message : messages) {
      i2c::MessageResult one;
      one.outcome = !message.read && message.bytes.size() > 1
                        ? i2c::MessageOutcome::DataNotAcknowledged
                        : i2c::MessageOutcome::Acknowledged;
      if (message.read) one.bytes.assign(message.readLength, 0x5A);
      result.messages.push_back(one);
    }
    return result;
  }
};

TEST(ScriptRunnerRefusalTest, ARefusedWriteEndsTheRunNamingTheDeviceAsTheUserChose) {
  const struct {
    const char* script;
    bool sevenBit;
    const char* problem;
  } cases[] = {
      {"device 30\nmodify 01 0F 05\nwrite 02 00\n", false,
       "m.i2cs:2: modify 01: not acknowledged by device 30"},
      {"device 30\nmodify 01 0F 05\nwrite 02 00\n", true,
       "m.i2cs:2: modify 01: not acknowledged by device 18"},
      {"device 30\nwrite 02 00\n", true, "m.i2cs:2: write 02: not acknowledged by device 18"},
  };
  for (const auto& run : cases) {
    ValueWriteRefusingMaster master;
    testing::FakeClock clock;
    std::vector<CommandReport> reports;
    RunHooks hooks;
    hooks.reported = [&](const CommandReport& report) { reports.push_back(report); };
    const ReadResult read = readScript(run.script, "m.i2cs");
    const RunOutcome outcome = runScript(master, clock, stepsOf(read.script), "m.i2cs",
                                         RunOptions{.sevenBitDevices = run.sevenBit}, hooks);
    EXPECT_EQ(outcome.end, RunEnd::NotAcknowledged) << run.script;
    ASSERT_TRUE(outcome.problem) << run.script;
    EXPECT_EQ(outcome.problem->text(), run.problem);
    ASSERT_EQ(reports.size(), 1u);
    EXPECT_EQ(reports[0].result, CommandResult::NotAcknowledged);
  }
}

TEST(ScriptRunnerClockTest, ADelayIsSleptOnTheClockGiven) {
  testing::EngineSet<testing::NoDevicePort> set;
  testing::FakeClock clock;
  const ReadResult read = readScript("delay 120\ndelay 0\n", "waits.i2cs");
  const RunOutcome outcome = runScript(set.engine, clock, stepsOf(read.script), "waits.i2cs");
  EXPECT_EQ(outcome.end, RunEnd::Completed);
  EXPECT_EQ(outcome.total, 0u);
  EXPECT_EQ(clock.sleeps, (std::vector<std::chrono::nanoseconds>{50ms, 50ms, 20ms}));
}

// A command file's writes run as steps: each write's yield comes after the pauses that
// follow it (sliced by yields only when asked), a Yield there is that yield, and one alone
// is a pass that wrote nothing.
TEST_F(ScriptRunnerTest, PausesAndYieldStepsRunInTheOrderOfACommandFile) {
  Step write;
  write.target = Target{0x20, {2, 1}};
  write.reg = 0x0100;
  write.value = 0x01;
  const double notANumber = std::numeric_limits<double>::quiet_NaN();
  const struct {
    std::vector<Step> steps;
    bool yieldInPauses;
    std::vector<std::string> events;
  } cases[] = {
      {{write, Step::pause(0.1), Step::pause(0.02), Step::yield(), Step::yield()},
       false,
       {"report", "sleep", "sleep", "finished", "yield", "yield"}},
      {{write, Step::pause(0.1), Step::yield()},
       true,
       {"report", "sleep", "yield", "sleep", "yield", "finished", "yield"}},
      {{write, Step::pause(notANumber), Step::pause(0), write},
       false,
       {"report", "not a number", "finished", "yield", "report", "finished", "yield"}},
  };
  for (const auto& test : cases) {
    testing::FakeClock clock;
    std::vector<std::string> events;
    clock.onSleep = [&] { events.push_back("sleep"); };
    RunHooks run;
    run.reported = [&](const CommandReport&) { events.push_back("report"); };
    run.yield = [&] { events.push_back("yield"); };
    run.commandFinished = [&] { events.push_back("finished"); };
    run.pauseNotANumber = [&] { events.push_back("not a number"); };
    RunOptions options;
    options.yieldInPauses = test.yieldInPauses;
    const RunOutcome outcome = runScript(set.engine, clock, test.steps, "c.i2c", options, run);
    EXPECT_EQ(outcome.end, RunEnd::Completed);
    EXPECT_EQ(events, test.events);
  }
}

}  // namespace
}  // namespace brelvion::scripts
