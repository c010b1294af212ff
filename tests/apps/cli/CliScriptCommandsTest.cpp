#include <gtest/gtest.h>

#include <chrono>
#include <sstream>

#include "CliArguments.h"
#include "CliRun.h"
#include "simulator/Sensor16.h"
#include "simulator/SimulatedParallelPort.h"
#include "scripts/ScriptReader.h"
#include "support/FakeClock.h"
#include "support/ScratchDirectory.h"

// send FILE.i2cs, import and export, end to end through the companion on the simulated
// 16-bit sensor at 20h, kept from run to run as a real one would be.
namespace brelvion::apps::cli {
namespace {

using namespace std::chrono_literals;
using testing::readWhole;

struct Outcome {
  int status;
  std::string out;
  std::string err;
};

simulator::SimulatedBusConfig sensor16Bus() {
  simulator::SimulatedBusConfig config;
  config.sensorAddresses = {};
  config.sensor16Addresses = {0x20};
  return config;
}

const std::string kExample = BRELVION_DATA_DIR "/examples/sim-sensor16-bring-up.i2cs";

struct CliScriptCommandsTest : ::testing::Test {
  Outcome run(std::vector<std::string> args) {
    std::ostringstream out;
    std::ostringstream err;
    const int status = runCli(args, out, err, "/nonexistent-root",
                              port::hardware::PortSystemCalls::real(), {&port, &clock});
    return {status, out.str(), err.str()};
  }
  std::string script(const std::string& name, const std::string& text) {
    return scratch.write(name, text);
  }
  std::uint8_t sensorByte(std::uint16_t address) {
    return static_cast<simulator::Sensor16&>(port.bus().slave(0)).byteAt(address);
  }
  std::string usageError(std::vector<std::string> args) {
    const ParsedArguments parsed = parseArguments(args);
    const auto* error = std::get_if<UsageError>(&parsed);
    return error != nullptr ? error->message : "(accepted)";
  }

  testing::ScratchDirectory scratch;
  simulator::SimulatedParallelPort port{sensor16Bus()};
  testing::FakeClock clock;
};

// The example docs/guide/scripts.md shows, as it runs: its delay lets the reset end on the
// bus's clock.
TEST_F(CliScriptCommandsTest, TheExampleBringUpRunsOnTheSimulatedSensor) {
  const Outcome outcome = run({"send", kExample});
  EXPECT_EQ(outcome.status, 0) << outcome.err;
  EXPECT_EQ(outcome.out,
            "20 0103 01 ACK\n"
            "20 0005 = 01 after 0 ms\n"
            "20 0000 = B716 OK\n"
            "20 0200 0300 ACK\n"
            "20 0202 0020 ACK\n"
            "20 0340 0460 ACK\n"
            "20 0342 0A00 ACK\n"
            "20 0204 02 ACK\n"
            "20 0101 = 00 -> 01 ACK\n"
            "20 0100 01 ACK\n"
            "20 0005 = 03 after 0 ms\n"
            "20 0200 = 03 00 00 20 02\n");
  EXPECT_EQ(outcome.err, "");
  EXPECT_EQ(clock.sleeps, std::vector<std::chrono::nanoseconds>{5ms});
  EXPECT_EQ(sensorByte(0x0101), 0x01);
  EXPECT_EQ(sensorByte(0x0100), 0x01);
}

TEST_F(CliScriptCommandsTest, APollAfterAResetWaitsOnTheBusClockAndSevenBitAddressesShow) {
  const Outcome outcome =
      run({"--7bit", "send", script("r.i2cs", "device 20\nregbits 16\nwrite 0103 01\n"
                                              "poll 0005 01 01 100\n")});
  EXPECT_EQ(outcome.status, 0);
  EXPECT_EQ(outcome.out.rfind("10 0103 01 ACK\n10 0005 = 01 after ", 0), 0u) << outcome.out;
  EXPECT_NE(outcome.out.find(" ms\n"), std::string::npos);
  EXPECT_GE(port.nowNs(), 5'000'000);
}

TEST_F(CliScriptCommandsTest, AScriptWithProblemsIsNamedLineByLineAndNothingIsSent) {
  const std::string file = script("bad.i2cs", "write 01 01\ndevice 20\nwrte 01 02\n");
  const Outcome outcome = run({"send", file});
  EXPECT_EQ(outcome.status, 2);
  EXPECT_EQ(outcome.out, "");
  EXPECT_EQ(outcome.err,
            file + ":1: write: no device line before the first bus command\n" + file +
                ":3: unknown command 'wrte' (the commands: device, regbits, valbits, write, "
                "delay, modify, poll, expect, read)\n");
  EXPECT_EQ(port.nowNs(), 0);
}

TEST_F(CliScriptCommandsTest, AFailedExpectStopsWithItsLineAndExitStatus2) {
  const std::string file =
      script("id.i2cs", "device 20\nregbits 16\nvalbits 16\nexpect 0000 0219\nwrite 0600 0002\n");
  const Outcome outcome = run({"send", file});
  EXPECT_EQ(outcome.status, 2);
  EXPECT_EQ(outcome.out, "20 0000 = B716 FAILED\n");
  EXPECT_EQ(outcome.err, file + ":4: expect 0000: read B716, expected 0219\n");
  EXPECT_EQ(sensorByte(0x0600), 0x00);
}

TEST_F(CliScriptCommandsTest, ANotAcknowledgedCommandStopsWithExitStatus1UnlessKeepGoing) {
  const std::string file =
      script("n.i2cs", "device 30\nwrite 01 02\ndevice 20\nregbits 16\nwrite 0600 02\n");
  const Outcome stopped = run({"send", file});
  EXPECT_EQ(stopped.status, 1);
  EXPECT_EQ(stopped.out, "30 01 02 NO ACK\n");
  EXPECT_EQ(stopped.err, file +
                             ":2: write 01: not acknowledged by device 30; the script stopped "
                             "there (--keep-going goes on)\n");
  EXPECT_EQ(sensorByte(0x0600), 0x00);

  const Outcome went = run({"send", file, "--keep-going"});
  EXPECT_EQ(went.status, 1);
  EXPECT_EQ(went.out, "30 01 02 NO ACK\n20 0600 02 ACK\n");
  EXPECT_EQ(went.err, "");
  EXPECT_EQ(sensorByte(0x0600), 0x02);
}

TEST_F(CliScriptCommandsTest, ScriptOptionsBelongToTheirCommands) {
  EXPECT_EQ(usageError({"send", "a.i2c", "--keep-going"}),
            "--keep-going goes with send FILE.i2cs (a command file always goes on)");
  EXPECT_EQ(usageError({"--delay", "1", "send", "a.i2cs"}),
            "--delay is for command files (.i2c); a script waits with its delay lines");
  EXPECT_EQ(usageError({"read", "42", "00", "-o", "x"}), "-o goes with import and export");
  EXPECT_EQ(usageError({"send", "a.i2cs", "--skip-unknown"}),
            "--device, --skip-unknown, --scl, --sda, --min-delay and --keep-pauses go with import");
  EXPECT_EQ(usageError({"import", "csv", "t.c"}),
            "import: FORMAT must be one of c, i2ctransfer, xml, vcd, i2c, not 'csv'");
  EXPECT_EQ(usageError({"export", "vcd", "a.i2cs"}),
            "export: FORMAT must be one of c, i2ctransfer, xml, i2c (a capture, vcd, is only "
            "imported), not 'vcd'");
  EXPECT_EQ(usageError({"import", "c", "t.c", "--device", "4G"}),
            "--device must be one or two hex digits, not '4G'");
  EXPECT_EQ(usageError({"import", "c", "t.c", "--device", "80", "--7bit"}),
            "--device must be a 7-bit address with --7bit, 0 to 7F, not '80'");
  EXPECT_EQ(usageError({"import", "vcd", "c.vcd", "--min-delay", "-1"}),
            "--min-delay must be milliseconds from 0 to 3600000 (e.g. 1 or 0.5), not '-1'");
  EXPECT_EQ(usageError({"import", "c", "t.c", "--le"}), "--le and --map are for write and read");
  EXPECT_EQ(usageError({"import", "vcd", "c.vcd", "--capture", "x.vcd"}),
            "--capture goes with the commands that use the bus");
  EXPECT_EQ(usageError({"import", "c", "t.c", "--reg-bits", "16", "--value-bits", "16",
                        "--device", "10", "--7bit", "--skip-unknown", "-o", "x.i2cs"}),
            "(accepted)");
  EXPECT_EQ(usageError({"import", "vcd", "c.vcd", "--scl", "D0", "--sda=D1", "--min-delay",
                        "0.5"}),
            "(accepted)");
}

constexpr const char* kTable =
    "/* a sensor driver's mode table */\n"
    "static const struct regval mode_1080p[] = {\n"
    "\t{0x0100, 0x00},\n"
    "\t{ 0x0340 , 0x04 },   // FRAME_LENGTH_LINES\n"
    "\t{REG_DELAY, 10},\n"
    "\t{0x0342},\n"
    "\t{REG_NULL, 0x00},\n"
    "};\n";

TEST_F(CliScriptCommandsTest, ImportNamesEveryLineItCannotConvertAndWritesOnlyWhenAllowed) {
  const std::string table = scratch.write("mode.c", kTable);
  const std::string row = table + ":6: ";
  const Outcome refused = run({"import", "c", table, "--device", "20"});
  EXPECT_EQ(refused.status, 2);
  EXPECT_EQ(refused.out, "");
  ASSERT_EQ(refused.err.rfind(row, 0), 0u) << refused.err;

  const std::string written = scratch.file("mode.i2cs");
  const Outcome skipped =
      run({"import", "c", table, "--device", "10", "--7bit", "--skip-unknown", "-o", written});
  EXPECT_EQ(skipped.status, 0);
  EXPECT_EQ(skipped.out, "");
  EXPECT_EQ(skipped.err, refused.err);
  EXPECT_EQ(readWhole(written),
            "; a sensor driver's mode table\n"
            "; table mode_1080p\n"
            "device 20\n"
            "regbits 16\n"
            "write 0100 00\n"
            "write 0340 04  ; FRAME_LENGTH_LINES\n"
            "delay 10\n"
            "; end of table (REG_NULL)\n");

  const Outcome noDevice = run({"import", "c", written});
  EXPECT_EQ(noDevice.status, 2);
  EXPECT_EQ(run({"import", "c", scratch.file("none.c")}).err,
            "brelvion-i2c-cli: error 53: Cannot read " + scratch.file("none.c") +
                ": No such file or directory\n");
  const Outcome nowhere = run({"import", "c", table, "--device", "20", "--skip-unknown", "-o",
                               "/no/such/dir/x.i2cs"});
  EXPECT_EQ(nowhere.status, 2);
  EXPECT_NE(nowhere.err.find("Cannot write /no/such/dir/x.i2cs: No such file or directory"),
            std::string::npos)
      << nowhere.err;
}

TEST_F(CliScriptCommandsTest, ExportWritesTheFormatOrNamesTheFirstLineItCannotExpress) {
  const std::string file = script("s.i2cs", "device 20\nwrite 01 02\nregbits 16\nwrite 0100 01\n");
  const Outcome lines = run({"export", "i2ctransfer", file});
  EXPECT_EQ(lines.status, 0) << lines.err;
  EXPECT_NE(lines.out.find("i2ctransfer -y 1 w2@0x10 0x01 0x02\n"
                           "i2ctransfer -y 1 w3@0x10 0x01 0x00 0x01\n"),
            std::string::npos)
      << lines.out;
  const Outcome i2c = run({"export", "i2c", file});
  EXPECT_EQ(i2c.status, 2);
  EXPECT_EQ(i2c.out, "");
  EXPECT_EQ(i2c.err, file + ":4: 'write 0100 01' has regbits 16 and valbits 8; a .i2c file "
                            "holds writes of 8-bit registers and values only\n");
  const Outcome bad = run({"export", "c", script("b.i2cs", "write 01 02\n")});
  EXPECT_EQ(bad.status, 2);
}

// import -> export -> import through the companion's own files gives the same steps, for
// every format that goes both ways.
TEST_F(CliScriptCommandsTest, ARoundTripThroughTheCompanionKeepsTheSteps) {
  const std::string table = scratch.write("mode.c", kTable);
  const std::string first = scratch.file("first.i2cs");
  ASSERT_EQ(run({"import", "c", table, "--device", "20", "--skip-unknown", "-o", first}).status,
            0);
  const scripts::ReadResult original = scripts::readScriptFile(first);
  ASSERT_TRUE(original.ok());
  for (const char* format : {"c", "i2ctransfer", "xml"}) {
    const std::string exported = scratch.file(std::string("exported.") + format);
    const std::string again = scratch.file(std::string("again-") + format + ".i2cs");
    ASSERT_EQ(run({"export", format, first, "-o", exported}).status, 0) << format;
    const Outcome imported = run({"import", format, exported, "--device", "20", "-o", again});
    ASSERT_EQ(imported.status, 0) << format << ": " << imported.err;
    const scripts::ReadResult back = scripts::readScriptFile(again);
    ASSERT_TRUE(back.ok()) << format;
    EXPECT_TRUE(scripts::sameMeaning(back.script, original.script)) << format;
  }
}

// A capture the companion makes of a script sent to the sensor gives the script's writes
// and waits back.
TEST_F(CliScriptCommandsTest, ACaptureOfASentScriptImportsAsItsWrites) {
  const std::string capture = scratch.file("bring-up.vcd");
  const std::string sent =
      script("w.i2cs", "device 20\nregbits 16\nwrite 0600 02\ndelay 20\nwrite 0101 01\n");
  ASSERT_EQ(run({"--capture", capture, "send", sent}).status, 0);
  const Outcome imported = run({"import", "vcd", capture, "--min-delay", "5"});
  EXPECT_EQ(imported.status, 0) << imported.err;
  const std::string body = imported.out.substr(imported.out.find('\n') + 1);
  EXPECT_EQ(body, "device 20\nregbits 16\nwrite 0600 02\ndelay 20\nwrite 0101 01\n");
}

}  // namespace
}  // namespace brelvion::apps::cli
