// read-all, snapshot, diff and write-back on the simulated 16-bit sensor, whose registers
// keep their values from one run to the next.
#include <gtest/gtest.h>

#include <filesystem>
#include <sstream>
#include <string>
#include <vector>

#include "CliRun.h"
#include "simulator/SimulatedParallelPort.h"
#include "support/FakeClock.h"
#include "support/ScratchDirectory.h"

namespace brelvion::apps::cli {
namespace {

const std::string kMap = std::string(BRELVION_DATA_DIR) + "/sim-sensor16.yaml";

struct CliOutcome {
  int status;
  std::string out;
  std::string err;
};

simulator::SimulatedBusConfig sensor16Alone() {
  simulator::SimulatedBusConfig config;
  config.sensorAddresses = {};
  config.sensor16Addresses = {0x20};
  return config;
}

class CliMapCommandsTest : public ::testing::Test {
 protected:
  CliOutcome run(const std::vector<std::string>& args) {
    std::ostringstream out;
    std::ostringstream err;
    CliOverrides overrides;
    overrides.port = &port;
    overrides.clock = &clock;
    const int status = runCli(args, out, err, "/nonexistent-root",
                              port::hardware::PortSystemCalls::real(), overrides);
    return {status, out.str(), err.str()};
  }
  CliOutcome onMap(std::vector<std::string> args) {
    args.insert(args.begin(), {"--map", kMap});
    return run(args);
  }

  simulator::SimulatedParallelPort port{sensor16Alone()};
  testing::FakeClock clock;
  testing::ScratchDirectory dir;
};

TEST_F(CliMapCommandsTest, ASnapshotComparedWrittenBackAndComparedAgain) {
  const std::string base = dir.file("base.snap");
  ASSERT_EQ(onMap({"snapshot", base}).status, 0);
  EXPECT_EQ(onMap({"diff", base}).out, base + " -> live values: no differences\n");

  ASSERT_EQ(onMap({"write", "EXPOSURE", "0500"}).status, 0);
  const CliOutcome changed = onMap({"diff", base});
  EXPECT_EQ(changed.status, 1);
  EXPECT_EQ(changed.out, base + " -> live values: 1 difference\n0200 EXPOSURE: 03E8 -> 0500\n");
  const std::string now = dir.file("now.snap");
  ASSERT_EQ(onMap({"snapshot", now}).status, 0);
  const CliOutcome files = run({"diff", base, now});
  EXPECT_EQ(files.status, 1);
  EXPECT_EQ(files.out, base + " -> " + now + ": 1 difference\n0200 EXPOSURE: 03E8 -> 0500\n");
  EXPECT_EQ(run({"diff", now, now}).status, 0);

  const CliOutcome restored = onMap({"write-back", base});
  EXPECT_EQ(restored.status, 0);
  EXPECT_EQ(restored.out.substr(0, restored.out.find('\n')),
            "Wrote 14 registers back; 4 values left out (read-only, or no such register here), "
            "then read all again");
  EXPECT_NE(restored.out.find("\n0200 EXPOSURE            03E8\n"), std::string::npos);
  EXPECT_EQ(onMap({"diff", base}).status, 0);
}

TEST_F(CliMapCommandsTest, ReadAllPrintsEveryRegisterWithItsFields) {
  const CliOutcome all = onMap({"read-all"});
  EXPECT_EQ(all.status, 0);
  EXPECT_EQ(all.err, "");
  for (const char* line : {"0000 CHIP_ID             B716\n",
                           "0005 STATUS              01\n"
                           "  READY      bit 0     1 (ready)\n"
                           "  STREAMING  bit 1     0 (standby)\n",
                           "0103 SOFTWARE_RESET      (write-only)\n"}) {
    EXPECT_NE(all.out.find(line), std::string::npos) << line << all.out;
  }
}

TEST_F(CliMapCommandsTest, WhatCannotBeDoneIsRefusedAndNamed) {
  const std::string list = dir.write("list.csv", "0x0000,CHIP_ID,16,ro\n");
  const std::string out = dir.file("out.snap");
  const struct {
    std::vector<std::string> args;
    int status;
    std::string err;
  } cases[] = {
      {{"read-all"}, 2, "read-all wants --map FILE"},
      {{"diff", out},
       2,
       "diff A wants --map FILE to read the device with (or a second snapshot B)"},
      {{"--map", kMap, "--le", "snapshot", out},
       2,
       "--reg-bits, --value-bits and --le are for write and read; snapshot keeps to the map's "
       "widths"},
      {{"--device", "20", "diff", out, out},
       2,
       "diff A B compares two files: --capture and --device go with the bus"},
      {{"--map", list, "read-all"},
       2,
       list + " gives no i2c-address: name the device (--device DEV)"},
      {{"--map", kMap, "snapshot", "/no/such/dir/s.snap"},
       2,
       "error 76: Cannot write /no/such/dir/s.snap: No such file or directory"},
      {{"--map", kMap, "write-back", "/no/such.snap"},
       2,
       "error 53: Cannot read /no/such.snap: No such file or directory"},
      {{"--map", kMap, "--device", "30", "read-all"}, 1, "NO ACK from device 30 (7 of 7 reads)"},
      {{"--map", kMap, "--7bit", "--device", "18", "snapshot", out},
       1,
       "NO ACK from device 18 (7 of 7 reads)\nbrelvion-i2c-cli: " + out +
           " not written: a snapshot would lack registers"},
  };
  for (const auto& c : cases) {
    const CliOutcome outcome = run(c.args);
    EXPECT_EQ(outcome.status, c.status) << c.err;
    EXPECT_EQ(outcome.err, "brelvion-i2c-cli: " + c.err + "\n");
  }
  EXPECT_FALSE(std::filesystem::exists(out));
  // With --device the map's own device is not needed.
  EXPECT_EQ(run({"--map", list, "--device", "20", "read-all"}).out, "00 CHIP_ID  B716\n");
}

}  // namespace
}  // namespace brelvion::apps::cli
