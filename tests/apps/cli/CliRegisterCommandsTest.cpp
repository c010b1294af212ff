#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "CliArguments.h"
#include "CliRun.h"
#include "support/ScratchDirectory.h"

// write and read in wide register formats and by name, on the simulated 16-bit sensor.
namespace brelvion::apps::cli {
namespace {

const std::string kExample = std::string(BRELVION_DATA_DIR) + "/sim-sensor16.yaml";
constexpr const char* kNotice =
    "brelvion-i2c-cli: no parallel port found; using the simulated bus with a 16-bit sensor at "
    "20\n";

struct CliOutcome {
  int status;
  std::string out;
  std::string err;
};

CliOutcome run(std::vector<std::string> args) {
  std::ostringstream out;
  std::ostringstream err;
  const int status = runCli(args, out, err, "/nonexistent-root");
  return {status, out.str(), err.str()};
}

// On a bus with the 16-bit sensor at 20 alone.
CliOutcome onSensor16(std::vector<std::string> args) {
  args.insert(args.begin(), {"--sim-device", "20:sensor16"});
  return run(std::move(args));
}

std::string usageError(std::vector<std::string> args) {
  const ParsedArguments parsed = parseArguments(args);
  const auto* error = std::get_if<UsageError>(&parsed);
  return error != nullptr ? error->message : "(accepted)";
}

TEST(CliRegisterArgumentsTest, WidthsWidenTheRegisterAndTheValue) {
  const auto write = std::get<WriteRequest>(std::get<CliRequest>(parseArguments(
      {"--reg-bits", "16", "write", "20", "0100", "DEADBEEF", "--value-bits=32", "--le"})).command);
  EXPECT_EQ(write.subAddress, 0x0100);
  EXPECT_EQ(write.data, 0xDEADBEEF);
  EXPECT_EQ(write.addressBytes, 2);
  EXPECT_EQ(write.valueBytes, 4);
  EXPECT_TRUE(write.littleEndian);
  const auto read = std::get<ReadRequest>(
      std::get<CliRequest>(
          parseArguments({"--reg-bits", "16", "--value-bits", "16", "read", "20", "FFFF", "4"}))
          .command);
  EXPECT_EQ(read.subAddress, 0xFFFF);
  EXPECT_EQ(read.count, 4);

  const auto byName = std::get<WriteRequest>(std::get<CliRequest>(
      parseArguments({"--map", "m.yaml", "write", "MODE_SELECT", "1"})).command);
  EXPECT_EQ(byName.mapFile, "m.yaml");
  EXPECT_EQ(byName.registerName, "MODE_SELECT");
  EXPECT_EQ(byName.dataText, "1");
  EXPECT_FALSE(byName.deviceGiven);
  const auto withDevice = std::get<ReadRequest>(
      std::get<CliRequest>(parseArguments({"read", "30", "CHIP_ID", "--map=m.yaml"})).command);
  EXPECT_TRUE(withDevice.deviceGiven);
  EXPECT_EQ(withDevice.device, 0x30);
  EXPECT_EQ(withDevice.registerName, "CHIP_ID");
}

TEST(CliRegisterArgumentsTest, BadInputIsNamedInTheError) {
  const std::vector<std::pair<std::vector<std::string>, std::string>> cases{
      {{"--reg-bits", "12", "read", "42", "0"}, "--reg-bits must be 8 or 16, not '12'"},
      {{"--value-bits", "64", "read", "42", "0"}, "--value-bits must be 8, 16 or 32, not '64'"},
      {{"--le=1", "read", "42", "0"}, "--le takes no value"},
      {{"--map=", "read", "X"}, "--map wants a file name"},
      {{"--reg-bits", "16", "read", "42", "12345"},
       "SUB must be 1 to 4 hex digits (--reg-bits 16), not '12345'"},
      {{"--value-bits", "32", "write", "42", "00", "123456789"},
       "DATA must be 1 to 8 hex digits (--value-bits 32), not '123456789'"},
      {{"--value-bits", "16", "write", "42", "00", "0x12"},
       "DATA must be 1 to 4 hex digits (--value-bits 16), not '0x12'"},
      {{"--reg-bits", "16", "write", "42", "100", "100"}, "DATA must be one or two hex digits, not '100'"},
      {{"--map", "m.yaml", "write", "MODE_SELECT"}, "with --map, write wants [DEV] NAME DATA"},
      {{"--map", "m.yaml", "read", "20", "A", "B"}, "with --map, read wants [DEV] NAME"},
      {{"--map", "m.yaml", "write", "2G", "A", "1"}, "DEV must be one or two hex digits, not '2G'"},
      {{"--map", "m.yaml", "read", "CHIP_ID", "extra"},
       "unexpected 'extra': with --map, read wants [DEV] NAME"},
      {{"--map", "m.yaml", "write", "MODE_SELECT", "1", "2"},
       "unexpected '2': with --map, write wants [DEV] NAME DATA"},
      {{"--map", "m.yaml", "write", "A", "xyz"}, "DATA must be hex digits, not 'xyz'"},
      {{"--reg-bits", "16", "dump", "42", "1", "-"},
       "--reg-bits, --value-bits, --le and --map are for write and read; send and dump keep to "
       "one-byte registers"},
      {{"--map", "m.yaml", "send", "f.i2c"},
       "--reg-bits, --value-bits, --le and --map are for write and read; send and dump keep to "
       "one-byte registers"},
      {{"--sim-device", "20:sensor32", "read", "20", "0"},
       "--sim-device: a device kind is sensor8 or sensor16, not 'sensor32'"},
      // By name as in a register format, scan's options are scan's alone.
      {{"--map", "m.yaml", "--all", "read", "CHIP_ID"}, "--all and --list go with scan"},
  };
  for (const auto& [args, message] : cases) EXPECT_EQ(usageError(args), message);
}

TEST(CliRegisterArgumentsTest, SimulatedDevicesOfBothKinds) {
  const auto request = std::get<CliRequest>(
      parseArguments({"--sim-device", "42,20:sensor16,60:sensor8,22:sensor16", "read", "42", "0"}));
  EXPECT_EQ(request.simulatedDevices, (std::vector<std::uint8_t>{0x42, 0x60}));
  EXPECT_EQ(request.simulatedSensor16s, (std::vector<std::uint8_t>{0x20, 0x22}));
  EXPECT_EQ(simulationOf(request).sensor16Addresses, (std::vector<std::uint8_t>{0x20, 0x22}));
}

TEST(CliRegisterCommandsTest, WideRegistersInEveryWidthAndBothOrders) {
  const CliOutcome id = onSensor16({"--reg-bits", "16", "--value-bits", "16", "read", "20", "0000"});
  EXPECT_EQ(id.status, 0);
  EXPECT_EQ(id.out, "B716\n");
  EXPECT_EQ(id.err, kNotice);
  EXPECT_EQ(onSensor16({"--reg-bits", "16", "--value-bits", "16", "--le", "read", "20", "0"}).out,
            "16B7\n");
  EXPECT_EQ(onSensor16({"--reg-bits", "16", "read", "20", "0000", "3"}).out, "B7 16 01\n");
  EXPECT_EQ(onSensor16({"--reg-bits", "16", "--value-bits", "16", "read", "20", "0340", "10"}).out,
            "0460 0A00 0000 0000 077F 0437 0000 0000\n0000 0000\n");
  EXPECT_EQ(onSensor16({"--reg-bits", "16", "--value-bits", "32", "read", "20", "0200", "2"}).out,
            "03E80010 01000000\n");

  const CliOutcome written =
      onSensor16({"--reg-bits", "16", "--value-bits", "16", "write", "20", "0200", "1234"});
  EXPECT_EQ(written.status, 0);
  EXPECT_EQ(written.out, "1234 ACK\n");
  EXPECT_EQ(onSensor16({"--reg-bits", "16", "--value-bits", "16", "--le", "write", "20", "0200",
                        "1234"})
                .out,
            "1234 ACK\n");
  // Read-only: dropped, and the read back shows it.
  const CliOutcome refused =
      onSensor16({"--reg-bits", "16", "--value-bits", "16", "write", "20", "0000", "1234"});
  EXPECT_EQ(refused.out, "B716 ACK\n");

  const CliOutcome nobody = onSensor16({"--reg-bits", "16", "read", "30", "0000"});
  EXPECT_EQ(nobody.status, 1);
  EXPECT_EQ(nobody.out, "FF\n");
  EXPECT_EQ(nobody.err, std::string(kNotice) + "brelvion-i2c-cli: NO ACK from device 30\n");
}

TEST(CliRegisterCommandsTest, TheWideTransactionsShowInTheTrace) {
  const CliOutcome traced =
      onSensor16({"--trace", "--reg-bits", "16", "--value-bits", "16", "read", "20", "0000"});
  std::vector<std::string> steps;
  std::istringstream lines(traced.err);
  for (std::string line; std::getline(lines, line);) {
    if (line.rfind("Wisp MSG00", 0) == 0) steps.push_back(line.substr(0, 12));
  }
  // START, address and two pointer bytes, STOP; START, address, two bytes in, STOP.
  EXPECT_EQ(steps, (std::vector<std::string>{
                       "Wisp MSG001:", "Wisp MSG004:", "Wisp MSG003:", "Wisp MSG004:",
                       "Wisp MSG003:", "Wisp MSG004:", "Wisp MSG003:", "Wisp MSG002:",
                       "Wisp MSG001:", "Wisp MSG004:", "Wisp MSG003:", "Wisp MSG005:",
                       "Wisp MSG005:", "Wisp MSG002:"}));
}

TEST(CliRegisterCommandsTest, ByNameWithTheShippedDescription) {
  const CliOutcome status = onSensor16({"--map", kExample, "read", "status"});
  EXPECT_EQ(status.status, 0);
  EXPECT_EQ(status.out,
            "0005 STATUS 01\n"
            "  READY      bit 0     1 (ready)\n"
            "  STREAMING  bit 1     0 (standby)\n");
  const CliOutcome pattern = onSensor16({"--map", kExample, "write", "TEST_PATTERN", "2"});
  EXPECT_EQ(pattern.status, 0);
  EXPECT_EQ(pattern.out, "0600 TEST_PATTERN 02 ACK\n  MODE  bits 2:0  2 (colour bars)\n");
  EXPECT_EQ(onSensor16({"--map", kExample, "write", "EXPOSURE", "0500"}).out,
            "0200 EXPOSURE 0500 ACK\n");
  EXPECT_EQ(onSensor16({"--map", kExample, "read", "CHIP_ID"}).out, "0000 CHIP_ID B716\n");
  EXPECT_EQ(onSensor16({"--map", kExample, "write", "SOFTWARE_RESET", "1"}).out,
            "0103 SOFTWARE_RESET (write-only, not read back) ACK\n");
  // The options win over the description: the ID's bytes the other way round.
  EXPECT_EQ(onSensor16({"--map", kExample, "--le", "read", "CHIP_ID"}).out, "0000 CHIP_ID 16B7\n");
  EXPECT_EQ(onSensor16({"--map", kExample, "--value-bits", "8", "read", "CHIP_ID"}).out,
            "0000 CHIP_ID B7\n");
  // A second sensor at another address, named on the command line.
  const CliOutcome other =
      run({"--sim-device", "42,22:sensor16", "--map", kExample, "read", "22", "CHIP_ID"});
  EXPECT_EQ(other.out, "0000 CHIP_ID B716\n");
  EXPECT_EQ(other.err,
            "brelvion-i2c-cli: no parallel port found; using the simulated bus with a camera "
            "sensor at 42 and a 16-bit sensor at 22\n");
  // With --7bit the device named is the 7-bit address, as for every other command.
  EXPECT_EQ(run({"--sim-device", "42,22:sensor16", "--7bit", "--map", kExample, "read", "11",
                 "CHIP_ID"})
                .out,
            "0000 CHIP_ID B716\n");
}

TEST(CliRegisterCommandsTest, WhatTheMapForbidsIsRefusedBeforeTheBusIsUsed) {
  auto refusal = [](std::vector<std::string> args) {
    const CliOutcome outcome = onSensor16(std::move(args));
    EXPECT_EQ(outcome.status, 2);
    EXPECT_EQ(outcome.out, "");
    return outcome.err;
  };
  EXPECT_EQ(refusal({"--map", kExample, "write", "CHIP_ID", "1"}),
            "brelvion-i2c-cli: CHIP_ID is read-only: it is never written\n");
  EXPECT_EQ(refusal({"--map", kExample, "read", "SOFTWARE_RESET"}),
            "brelvion-i2c-cli: SOFTWARE_RESET is write-only: it is never read\n");
  EXPECT_EQ(refusal({"--map", kExample, "write", "MODE_SELECT", "100"}),
            "brelvion-i2c-cli: DATA must be 1 to 2 hex digits for MODE_SELECT (8 bits), not '100'\n");
  EXPECT_EQ(refusal({"--map", kExample, "read", "NOPE"}),
            "brelvion-i2c-cli: no register named 'NOPE' in " + kExample + "\n");
  EXPECT_EQ(refusal({"--map", kExample, "--reg-bits", "8", "read", "EXPOSURE"}),
            "brelvion-i2c-cli: EXPOSURE at 200h does not fit --reg-bits 8\n");
  EXPECT_EQ(refusal({"--map", "/no/such/map.yaml", "read", "NOPE"}),
            "brelvion-i2c-cli: error 53: Cannot read /no/such/map.yaml: No such file or directory\n");

  testing::ScratchDirectory dir;
  const std::string broken = dir.write("broken.yaml", "device: x\nregisters:\n  - {name: A}\n");
  EXPECT_EQ(refusal({"--map", broken, "read", "A"}),
            "brelvion-i2c-cli: error 321: " + broken + ":3:5: register A has no address\n");
  const std::string list = dir.write("list.csv", "0x0000,CHIP_ID,16,ro\n0x0100,MODE_SELECT\n");
  EXPECT_EQ(refusal({"--map", list, "read", "CHIP_ID"}),
            "brelvion-i2c-cli: " + list + " gives no i2c-address: name the device (read DEV NAME)\n");
  const CliOutcome fromList = onSensor16({"--map", list, "read", "20", "CHIP_ID"});
  EXPECT_EQ(fromList.out, "0000 CHIP_ID B716\n");
}

}  // namespace
}  // namespace brelvion::apps::cli
