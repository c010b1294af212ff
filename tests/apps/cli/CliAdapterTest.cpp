// The companion on an i2c-dev adapter of a fake kernel, and the scan and ports commands.
#include <gtest/gtest.h>
#include <unistd.h>

#include <cerrno>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "CliRun.h"
#include "simulator/SimulatedParallelPort.h"
#include "support/FakeClock.h"
#include "support/FakeI2cDevSystemCalls.h"
#include "support/FakeParportTree.h"
#include "support/FakePortSystemCalls.h"
#include "support/MarkedLines.h"
#include "support/ScratchDirectory.h"

namespace brelvion::apps::cli {
namespace {

struct CliOutcome {
  int status;
  std::string out;
  std::string err;
};

class CliAdapterTest : public ::testing::Test {
 protected:
  CliAdapterTest() { calls.kernel.addAdapter(3, "CP2112 SMBus Bridge on hidraw0").devices[0x21]; }

  CliOutcome run(const std::vector<std::string>& args, port::PortIo* port = nullptr) {
    std::ostringstream out;
    std::ostringstream err;
    CliOverrides overrides;
    overrides.i2cCalls = &calls;
    overrides.port = port;
    overrides.clock = &clock;
    const int status = runCli(args, out, err, "/nonexistent-root",
                              port::hardware::PortSystemCalls::real(), overrides);
    return {status, out.str(), err.str()};
  }
  testing::FakeRegisterDevice& sensor() { return calls.kernel.adapters[3].devices[0x21]; }

  testing::FakeI2cDevSystemCalls calls;
  testing::FakeClock clock;
  testing::ScratchDirectory scratch;
};

TEST_F(CliAdapterTest, EveryCommandRunsOnTheAdapter) {
  EXPECT_EQ(run({"--port", "i2c-3", "write", "42", "12", "80"}).out, "80 ACK\n");
  EXPECT_EQ(sensor().registers[0x12], 0x80);
  const CliOutcome read = run({"--port", "/dev/i2c-3", "--backend", "i2cdev", "read", "42", "00", "4"});
  EXPECT_EQ(read.status, 0);
  EXPECT_EQ(read.out, "28 4D 72 97\n");
  EXPECT_EQ(read.err, "");

  const std::string dumped = scratch.file("dump.i2c");
  EXPECT_EQ(run({"--port", "i2c-3", "dump", "42", "255", dumped}).status, 0);
  const std::string text = testing::readWhole(dumped);
  EXPECT_EQ(text.substr(0, 11), "43  0  28\r\n");
  EXPECT_EQ(std::count(text.begin(), text.end(), '\n'), 256);

  const std::string file = scratch.write("regs.i2c", "42 14 A5 ; a register\n60 01 02\n");
  const CliOutcome sent = run({"--port", "i2c-3", "send", file});
  EXPECT_EQ(sent.out, "42 14 A5 ACK\n60 01 02 NO ACK\n");
  EXPECT_EQ(sent.status, 1);
  EXPECT_EQ(sensor().registers[0x14], 0xA5);
}

// A device that does not answer, by name and in a dump, on the adapter and on the lines of
// the simulated cable: NO ACK and exit status 1, no value shown, no file replaced.
TEST_F(CliAdapterTest, ADeviceThatDoesNotAnswerIsNoAckOnEveryBus) {
  const std::string map = std::string(BRELVION_DATA_DIR) + "/sim-sensor16.yaml";
  const std::vector<std::pair<std::vector<std::string>, std::string>> commands{
      {{"--map", map, "read", "44", "STATUS"}, "0005 STATUS NO ACK\n"},
      {{"--map", map, "write", "44", "TEST_PATTERN", "2"}, "0600 TEST_PATTERN NO ACK\n"},
      {{"dump", "44", "3", scratch.file("good.i2c")}, ""},
  };
  for (const bool onAdapter : {true, false}) {
    const std::string kept = scratch.write("good.i2c", "44  0  12\r\n");
    simulator::SimulatedParallelPort cable;
    for (const auto& [args, out] : commands) {
      std::vector<std::string> full = args;
      if (onAdapter) full.insert(full.begin(), {"--port", "i2c-3"});
      const CliOutcome result = run(full, onAdapter ? nullptr : &cable);
      EXPECT_EQ(result.status, kExitNotAcknowledged) << args[2] << " " << onAdapter;
      EXPECT_EQ(result.out, out) << onAdapter;
      EXPECT_EQ(result.err, args[0] == "--map" && args[2] == "write"
                                ? ""
                                : "brelvion-i2c-cli: NO ACK from device 44\n")
          << args[2] << " " << onAdapter;
    }
    EXPECT_EQ(testing::readWhole(kept), "44  0  12\r\n") << onAdapter;
  }
}

TEST_F(CliAdapterTest, TheTraceIsOneLineATransferAndARepeatedStartJoinsTheRead) {
  const CliOutcome traced = run({"--trace", "--port", "i2c-3", "--repeated-start", "read", "42", "00", "2"});
  std::istringstream lines(traced.err);
  std::vector<std::string> trace;
  for (std::string line; std::getline(lines, line);) trace.push_back(line);
  EXPECT_EQ(trace, testing::markedLines({
                       "Wisp SYS002: I2C bus opened on adapter i2c-3      |",
                       "Wisp SYS001: I2C adapter ready, no lines to clear |",
                       "Wisp MSG007:  i2c-3 W 42 00 Sr R 43 (2) 28 4D ACK |",
                       "Wisp SYS003 :I2C Bus closed                       |",
                   }));
  EXPECT_EQ(calls.kernel.log[2], "ioctl 3 I2C_RDWR 21/0000/1 [00] 21/0001/2");
}

TEST_F(CliAdapterTest, WhatTheBusRefusedIsSaidForWhatItIs) {
  const CliOutcome nobody = run({"--port", "i2c-3", "read", "60", "00"});
  EXPECT_EQ(nobody.status, 1);
  EXPECT_EQ(nobody.out, "");
  EXPECT_EQ(nobody.err, "brelvion-i2c-cli: NO ACK from device 60\n");
  const CliOutcome write = run({"--port", "i2c-3", "write", "60", "00", "00"});
  EXPECT_EQ(write.status, 1);
  EXPECT_EQ(write.out, "-- NO ACK\n");

  calls.kernel.transferErrors = {ETIMEDOUT, ETIMEDOUT};
  const CliOutcome slow = run({"--port", "i2c-3", "read", "42", "00"});
  EXPECT_EQ(slow.status, 1);
  EXPECT_EQ(slow.err, "brelvion-i2c-cli: bus timeout on i2c-3: a device held SCL low, or the "
                      "adapter gave up waiting\n");
  calls.kernel.transferErrors = {EAGAIN, EAGAIN};
  EXPECT_EQ(run({"--port", "i2c-3", "read", "42", "00"}).err,
            "brelvion-i2c-cli: lost arbitration on i2c-3: another master drove the bus at the "
            "same time\n");
}

TEST_F(CliAdapterTest, AMissingOrForbiddenAdapterIsAPortError) {
  const CliOutcome missing = run({"--port", "i2c-9", "read", "42", "00"});
  EXPECT_EQ(missing.status, 2);
  EXPECT_EQ(missing.err, "brelvion-i2c-cli: error 53: No I2C adapter i2c-9: /dev/i2c-9: No such "
                         "file or directory; the kernel has i2c-3 (brelvion-i2c-cli ports lists "
                         "them). Load the i2c-dev module (sudo modprobe i2c-dev) or choose another "
                         "adapter\n");
  calls.kernel.openErrors["/dev/i2c-3"] = EACCES;
  EXPECT_EQ(run({"--port", "i2c-3", "read", "42", "00"}).err,
            "brelvion-i2c-cli: error 70: Permission denied on /dev/i2c-3: add your user to the "
            "group 'i2c' (sudo adduser $USER i2c) and log in again, or run as root\n");
}

// As when a parallel port goes away: a numbered error, nothing printed, nothing written.
TEST_F(CliAdapterTest, AnAdapterGoneMidDumpLeavesNoFileAndPrintsNothing) {
  const std::string file = scratch.write("dump.i2c", "an earlier dump\n");
  for (const int transfers : {0, 1}) {
    calls.kernel.transfersBeforeGone = transfers;
    const CliOutcome gone = run({"--port", "i2c-3", "dump", "42", "255", file});
    EXPECT_EQ(gone.status, 2);
    EXPECT_EQ(gone.out, "");
    EXPECT_EQ(gone.err, "brelvion-i2c-cli: Dump To File - Error: 68: Access to /dev/i2c-3 failed: "
                        "No such device: the adapter is gone (unplugged?). Plug it back in and "
                        "run the command again\n");
    EXPECT_EQ(testing::readWhole(file), "an earlier dump\n");
    calls.kernel = testing::FakeI2cKernel();
    calls.kernel.addAdapter(3, "CP2112").devices[0x21];
  }
  calls.kernel.transfersBeforeGone = 0;
  const CliOutcome read = run({"--port", "i2c-3", "read", "42", "00", "16"});
  EXPECT_EQ(read.status, 2);
  EXPECT_EQ(read.out, "");
}

TEST_F(CliAdapterTest, SevenBitAddressesInAndOut) {
  EXPECT_EQ(run({"--7bit", "--port", "i2c-3", "read", "21", "00"}).out, "28\n");
  EXPECT_EQ(run({"--port", "i2c-3", "read", "30", "00", "--7bit"}).err,
            "brelvion-i2c-cli: NO ACK from device 30\n");
  const std::string file = scratch.write("one.i2c", "42 14 A5\n");
  EXPECT_EQ(run({"--7bit", "--port", "i2c-3", "send", file}).out, "21 14 A5 ACK\n");
}

TEST_F(CliAdapterTest, ScanOnTheAdapterAndOnTheSimulatedBusInEveryForm) {
  calls.kernel.adapters[3].devices[0x50];
  const CliOutcome list = run({"--port", "i2c-3", "scan", "--list"});
  EXPECT_EQ(list.status, 0);
  EXPECT_EQ(list.out, "42\nA0\n");
  EXPECT_EQ(run({"--port", "i2c-3", "--7bit", "--list", "scan"}).out, "21\n50\n");

  const CliOutcome grid = run({"--backend", "sim", "--sim-device", "42,6C", "scan", "--7bit"});
  EXPECT_EQ(grid.status, 0);
  EXPECT_EQ(grid.out,
            "     0  1  2  3  4  5  6  7  8  9  A  B  C  D  E  F\n"
            "00:                         -- -- -- -- -- -- -- --\n"
            "10: -- -- -- -- -- -- -- -- -- -- -- -- -- -- -- --\n"
            "20: -- 21 -- -- -- -- -- -- -- -- -- -- -- -- -- --\n"
            "30: -- -- -- -- -- -- 36 -- -- -- -- -- -- -- -- --\n"
            "40: -- -- -- -- -- -- -- -- -- -- -- -- -- -- -- --\n"
            "50: -- -- -- -- -- -- -- -- -- -- -- -- -- -- -- --\n"
            "60: -- -- -- -- -- -- -- -- -- -- -- -- -- -- -- --\n"
            "70: -- -- -- -- -- -- -- --\n");
  EXPECT_EQ(run({"--backend", "sim", "--sim-device", "42,6C", "scan", "--all", "--list"}).out,
            "42\n6C\n");
  const CliOutcome nothing = run({"--backend", "sim", "--sim-device", "none", "scan", "--list"});
  EXPECT_EQ(nothing.status, 1);
  EXPECT_EQ(nothing.out, "");
  EXPECT_EQ(nothing.err, "");
}

TEST_F(CliAdapterTest, AScanWithSdaHeldLowSaysSoAndProbesNothing) {
  simulator::SimulatedBusConfig held;
  held.sdaHeldLow = true;
  simulator::SimulatedParallelPort port(held);
  const CliOutcome scan = run({"--trace", "scan"}, &port);
  EXPECT_EQ(scan.status, 2);
  EXPECT_EQ(scan.out, "");
  EXPECT_NE(scan.err.find("brelvion-i2c-cli: SDA is held low: something on the bus"),
            std::string::npos);
  EXPECT_EQ(scan.err.find("Wisp MSG001"), std::string::npos) << "something was probed";
}

TEST_F(CliAdapterTest, PortsListsWhatIsThereAndWhatAutoPicks) {
  calls.kernel.addAdapter(1, "SMBus stub driver", I2C_FUNC_SMBUS_QUICK | I2C_FUNC_SMBUS_BYTE_DATA);
  calls.kernel.addAdapter(5, "i915 gmbus dpb");
  calls.kernel.openErrors["/dev/i2c-5"] = EACCES;
  testing::FakeParportTree tree;
  tree.addPort(0, 0x378);
  tree.addProcEntry(1, "53248\t0\n");
  std::ostringstream out;
  std::ostringstream err;
  CliOverrides overrides;
  overrides.i2cCalls = &calls;
  testing::FakePortSystemCalls parport;
  EXPECT_EQ(runCli({"ports"}, out, err, tree.root(), parport, overrides), 0);
  EXPECT_EQ(out.str(),
            "Parallel ports:\n"
            "  " + tree.node(0) + " at 0x378 (lpt1)\n"
            "  " + tree.node(1) + " at 0xD000: no device node (sudo modprobe ppdev)\n"
            "I2C adapters:\n"
            "  i2c-1, SMBus stub driver: SMBus quick, byte data\n"
            "  i2c-3, CP2112 SMBus Bridge on hidraw0: I2C, SMBus quick, byte, byte data, I2C block\n"
            "  i2c-5, i915 gmbus dpb: Permission denied on /dev/i2c-5: add your user to the group "
            "'i2c' (sudo adduser $USER i2c) and log in again, or run as root\n"
            "GPIO chips:\n"
            "  none found\n"
            "--backend auto with --port lpt1: ppdev (a parallel port is there)\n");
  EXPECT_EQ(err.str(), "");
  EXPECT_TRUE(parport.log.empty());

  const CliOutcome none = run({"--port", "i2c-3", "ports"});
  EXPECT_NE(none.out.find("Parallel ports:\n  none found\n"), std::string::npos);
  EXPECT_NE(none.out.find("--backend auto with --port i2c-3: i2cdev, the I2C adapter /dev/i2c-3\n"),
            std::string::npos);
  calls.kernel.adapters.clear();
  EXPECT_EQ(run({"ports"}).out,
            "Parallel ports:\n  none found\nI2C adapters:\n"
            "  none found (the i2c-dev module: sudo modprobe i2c-dev)\n"
            "GPIO chips:\n  none found\n"
            "--backend auto with --port lpt1: no parallel port found; using the simulated bus "
            "with a camera sensor at 42\n");
}

}  // namespace
}  // namespace brelvion::apps::cli
