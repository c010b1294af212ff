// The companion on two GPIO lines of a fake kernel's chip, wired to a simulated bus with a
// camera sensor: every command end to end, with the request, the values set and the lines
// read checked, the chips listed, the notice and the errors said.
#include <gtest/gtest.h>

#include <algorithm>
#include <cerrno>
#include <filesystem>
#include <sstream>

#include "CliRun.h"
#include "capture/VcdReader.h"
#include "simulator/SimulatedBusConfig.h"
#include "support/FakeClock.h"
#include "support/FakeGpioKernel.h"
#include "support/MasterWireDecoder.h"
#include "support/ScratchDirectory.h"

namespace brelvion::apps::cli {
namespace {

using testing::FakeGpioKernel;
using Kind = FakeGpioKernel::Kind;

constexpr std::uint32_t kScl = 3;
constexpr std::uint32_t kSda = 2;
constexpr const char* kLines = "gpio:gpiochip0:3,2";

struct CliOutcome {
  int status;
  std::string out;
  std::string err;
};

class CliGpioTest : public ::testing::Test {
 protected:
  explicit CliGpioTest(const simulator::SimulatedBusConfig& config = {}) {
    simulator::attachSensors(bus, config);
    kernel.wire(chip, kScl, kSda, bus);
  }

  // The companion with the fake kernel's chips under its root, the bus kept between runs.
  CliOutcome run(std::vector<std::string> args) {
    kernel.events.clear();
    kernel.log.clear();
    std::ostringstream out;
    std::ostringstream err;
    CliOverrides overrides;
    overrides.gpioCalls = &kernel;
    overrides.clock = &clock;
    const int status =
        runCli(args, out, err, kernel.root(), port::hardware::PortSystemCalls::real(), overrides);
    return {status, out.str(), err.str()};
  }

  // The levels read of one line, in order.
  std::string reads(std::uint32_t offset) const {
    std::string levels;
    for (const auto& event : kernel.events) {
      if (event.kind == Kind::Get && event.offset == offset) levels += event.value ? '1' : '0';
    }
    return levels;
  }

  FakeGpioKernel kernel;
  FakeGpioKernel::Chip& chip = kernel.addChip("gpiochip0", "pinctrl-bcm2711", 54);
  simulator::SimulatedI2cBus bus;
  testing::FakeClock clock;
  testing::ScratchDirectory scratch;
};

TEST_F(CliGpioTest, WriteRequestsTheLinesAndPutsTheRegisterWriteOnThem) {
  const CliOutcome write = run({"--port", kLines, "write", "42", "12", "80"});
  EXPECT_EQ(write.status, kExitAcknowledged);
  EXPECT_EQ(write.out, "80 ACK\n");
  EXPECT_EQ(write.err, "");
  EXPECT_NE(std::find(kernel.log.begin(), kernel.log.end(),
                      "request gpiochip0 lines 3,2 flags output,open-drain,pull-up consumer "
                      "brelvion-i2c"),
            kernel.log.end());
  EXPECT_EQ(kernel.openDescriptors(), 0u) << "the lines are let go at the end";
  EXPECT_EQ(kernel.drivenHigh, 0) << "a released line was driven high";

  // Line for line what the same command puts on the parallel port's cable.
  testing::RecordingPort cable;
  std::ostringstream out;
  std::ostringstream err;
  CliOverrides overrides;
  overrides.port = &cable;
  overrides.clock = &clock;
  runCli({"write", "42", "12", "80"}, out, err, "/nonexistent-root",
         port::hardware::PortSystemCalls::real(), overrides);
  const std::string wire = testing::masterWire(kernel.events, kScl, kSda);
  EXPECT_EQ(wire, testing::masterWire(cable.log));
  EXPECT_NE(wire.find(testing::wire({"S", testing::sentByte(0x42), testing::sentByte(0x12),
                                     testing::sentByte(0x80), "0P"})),
            std::string::npos)
      << wire;
}

TEST_F(CliGpioTest, ReadGetsTheBytesFromTheSdaLineAndWaitsForSclAfterEachRelease) {
  const CliOutcome read = run({"--port", kLines, "read", "42", "00", "2"});
  EXPECT_EQ(read.status, kExitAcknowledged);
  EXPECT_EQ(read.out, "28 4D\n");
  // Read back with the request, then the released SDA before each START (high), the three
  // acknowledges (low), the bytes 28h and 4Dh.
  EXPECT_EQ(reads(kSda), std::string("1") + "1" + "00" + "1" + "0" + "00101000" + "01001101");
  const std::string scl = reads(kScl);
  EXPECT_FALSE(scl.empty());
  EXPECT_EQ(scl.find('0'), std::string::npos) << "no slave stretched the clock";
}

TEST_F(CliGpioTest, SendDumpAndScanRunOnTheLines) {
  const std::string file = scratch.write("regs.i2c", "42 14 A5 ; a register\n60 01 02\n");
  const CliOutcome sent = run({"--port", kLines, "send", file});
  EXPECT_EQ(sent.out, "42 14 A5 ACK\n60 01 02 NO ACK\n");
  EXPECT_EQ(sent.status, kExitNotAcknowledged);

  const std::string dumped = scratch.file("dump.i2c");
  EXPECT_EQ(run({"--port", kLines, "dump", "42", "31", dumped}).status, kExitAcknowledged);
  const std::string text = testing::readWhole(dumped);
  EXPECT_EQ(text.substr(0, 11), "43  0  28\r\n");
  EXPECT_NE(text.find("43  14  A5\r\n"), std::string::npos);
  EXPECT_EQ(std::count(text.begin(), text.end(), '\n'), 32);

  const CliOutcome scan = run({"--backend", "gpio", "--port", kLines, "scan", "--list"});
  EXPECT_EQ(scan.status, kExitAcknowledged);
  EXPECT_EQ(scan.out, "42\n");
}

TEST_F(CliGpioTest, TheTraceNamesTheLinesTheBusIsOpenedOn) {
  const CliOutcome traced = run({"--trace", "--port", kLines, "read", "42", "00"});
  EXPECT_EQ(traced.err.substr(0, traced.err.find('\n') + 1),
            "Wisp SYS002: I2C bus opened on gpio:gpiochip0:3,2 \n");
}

TEST_F(CliGpioTest, ACaptureRecordsTheCommandOnTheLines) {
  const std::string path = scratch.file("write.vcd");
  ASSERT_EQ(run({"--port", kLines, "--capture", path, "write", "42", "12", "80"}).out, "80 ACK\n");
  const auto capture = capture::readVcdCapture(testing::readWhole(path), {});
  ASSERT_TRUE(capture);
  // The slave's acknowledges and bytes are in it, read back from SDA: the capture is the
  // wire's, not only the master's. The STOP after each message pulls SDA low while SCL is
  // low, then lets SCL rise: a decoder sees one more bit, 0, before it.
  EXPECT_EQ(testing::wireTokens(capture->samples),
            testing::wire({"S", "010000100", "000100100", "100000000", "0P",        // the write
                           "S", "010000100", "000100100", "0P",                     // the pointer
                           "S", "010000110", "10000000", "0", "11100111", "0P"}));  // 80 E7
}

TEST_F(CliGpioTest, LinesThatSwitchDirectionSaySoOnceOnStandardError) {
  chip.readsOutputs = false;
  const CliOutcome write = run({"--port", kLines, "write", "42", "12", "80"});
  EXPECT_EQ(write.out, "80 ACK\n");
  EXPECT_EQ(write.err,
            "brelvion-i2c-cli: gpiochip0 cannot read back its open-drain outputs (Input/output "
            "error): lines 3 and 2 switch between input (released) and output low instead\n");
  EXPECT_EQ(kernel.drivenHigh, 0);
}

TEST_F(CliGpioTest, LinesByNameAndAChipByLabel) {
  chip.lines[3].name = "I2C_SCL";
  chip.lines[2].name = "I2C_SDA";
  EXPECT_EQ(run({"--port", "gpio:pinctrl-bcm2711:I2C_SCL,I2C_SDA", "read", "42", "00"}).out,
            "28\n");
}

TEST_F(CliGpioTest, MissingBusyAndVanishingChipsAreNumberedErrors) {
  const CliOutcome missing = run({"--port", "gpio:gpiochip4:3,2", "read", "42", "00"});
  EXPECT_EQ(missing.status, kExitUsageOrPortError);
  EXPECT_EQ(missing.err,
            "brelvion-i2c-cli: error 53: No GPIO chip 'gpiochip4': found gpiochip0 "
            "'pinctrl-bcm2711' (54 lines). Name one of those, by name, number or label\n");

  chip.lines[2].used = true;
  chip.lines[2].consumer = "i2c-gpio";
  EXPECT_EQ(run({"--port", kLines, "read", "42", "00"}).err,
            "brelvion-i2c-cli: error 68: Line 2 (GPIO2) of gpiochip0, chosen for SDA, is in use by "
            "'i2c-gpio'. Unbind that driver (or remove its device-tree overlay) or end that "
            "program, then try again\n");
  chip.lines[2].used = false;

  EXPECT_EQ(run({"--port", "gpio:gpiochip0:3,60", "read", "42", "00"}).err,
            "brelvion-i2c-cli: error 53: gpiochip0 has no line 60 for SDA: its 54 lines are 0 to "
            "53\n");
  EXPECT_EQ(run({"--port", "gpio:gpiochip0:SCL,2", "read", "42", "00"}).err,
            "brelvion-i2c-cli: error 53: gpiochip0 has no line named 'SCL' for SCL (names are "
            "case-sensitive; gpioinfo lists a chip's lines), or give the line's offset\n");
  kernel.openErrors[kernel.path("gpiochip0")] = EACCES;
  const CliOutcome denied = run({"--port", kLines, "write", "42", "12", "80"});
  EXPECT_EQ(denied.status, kExitUsageOrPortError);
  EXPECT_EQ(denied.out, "");
  EXPECT_EQ(denied.err, "brelvion-i2c-cli: error 70: Permission denied on " +
                            kernel.path("gpiochip0") +
                            ": add your user to the group 'gpio' (sudo adduser $USER gpio) and "
                            "log in again, or run as root\n");
  kernel.openErrors.clear();

  // As when a parallel port goes away: nothing printed, no dump written.
  const std::string file = scratch.write("dump.i2c", "an earlier dump\n");
  kernel.removeAfterCalls = 200;
  const CliOutcome gone = run({"--port", kLines, "dump", "42", "255", file});
  EXPECT_EQ(gone.status, kExitUsageOrPortError);
  EXPECT_EQ(gone.out, "");
  EXPECT_NE(gone.err.find("68: Access to " + kernel.path("gpiochip0") +
                          " failed: No such device. The GPIO chip is gone"),
            std::string::npos)
      << gone.err;
  EXPECT_EQ(testing::readWhole(file), "an earlier dump\n");

  // Nor a capture of the half-done command.
  const std::string capture = scratch.file("gone.vcd");
  kernel.removeAfterCalls = 100;
  const CliOutcome captured =
      run({"--port", kLines, "--capture", capture, "read", "42", "00", "16"});
  EXPECT_EQ(captured.status, kExitUsageOrPortError);
  EXPECT_EQ(captured.out, "");
  EXPECT_FALSE(std::filesystem::exists(capture));
}

TEST_F(CliGpioTest, PortsListsTheChipsWithTheirLabelsAndLines) {
  kernel.addChip("gpiochip1", "cp2112", 8);
  kernel.addChip("gpiochip2", "", 1);
  kernel.addChip("gpiochip3", "ftdi-cbus", 4);
  kernel.openErrors[kernel.path("gpiochip3")] = EACCES;
  const CliOutcome ports = run({"--port", kLines, "ports"});
  EXPECT_EQ(ports.status, kExitAcknowledged);
  const std::string listed = ports.out.substr(ports.out.find("GPIO chips:\n"));
  EXPECT_EQ(listed,
            "GPIO chips:\n"
            "  gpiochip0, pinctrl-bcm2711: 54 lines\n"
            "  gpiochip1, cp2112: 8 lines\n"
            "  gpiochip2: 1 line\n"
            "  gpiochip3: cannot be opened: Permission denied\n"
            "--backend auto with --port 'gpio:gpiochip0:3,2': gpio, SCL and SDA on GPIO lines\n");
}

// A sensor stopped one bit into a zero byte, holding SDA: more than the bus clear frees.
class CliGpioStuckTest : public CliGpioTest {
 protected:
  CliGpioStuckTest() : CliGpioTest(stuckEarly()) {}
  static simulator::SimulatedBusConfig stuckEarly() {
    simulator::SimulatedBusConfig config;
    config.stuckMidByte = true;
    config.stuckBitsClocked = 1;
    return config;
  }
};

TEST_F(CliGpioStuckTest, RecoverFreesTheBusOnTheLines) {
  const CliOutcome recovered = run({"--trace", "--port", kLines, "recover"});
  EXPECT_EQ(recovered.status, kExitAcknowledged);
  EXPECT_EQ(recovered.out, "bus free after 8 clock pulses\n");
  EXPECT_EQ(recovered.err,
            "Wisp SYS002: I2C bus opened on gpio:gpiochip0:3,2 \n"
            "Wisp MSG009:  Recovering bus                      \n"
            "Wisp MSG002:  Generating STOP on bus              \n"
            "Wisp SYS004: Bus free after 8 clock pulses        \n"
            "Wisp SYS003 :I2C Bus closed                       \n");
  // Low at the request, low before each of the eight pulses, then free.
  EXPECT_EQ(reads(kSda), std::string("0") + "00000000" + "11");
  EXPECT_EQ(run({"--port", kLines, "write", "42", "12", "80"}).out, "80 ACK\n");
}

// Something holds SDA low for good: no acknowledge can be read from it, so no command that
// needs one goes through, and a dump keeps the file it would have replaced.
class CliGpioSdaHeldTest : public CliGpioTest {
 protected:
  CliGpioSdaHeldTest() : CliGpioTest(heldLow()) {}
  static simulator::SimulatedBusConfig heldLow() {
    simulator::SimulatedBusConfig config;
    config.sdaHeldLow = true;
    return config;
  }
};

TEST_F(CliGpioSdaHeldTest, EveryCommandEndsWithTheNumberedErrorThatSaysToRecover) {
  const std::string dump = scratch.write("good.i2c", "44  0  12\r\n");
  const std::string script = scratch.write("check.i2cs", "device 44\nexpect 00 12\n");
  const std::vector<std::vector<std::string>> commands{
      {"write", "44", "12", "80"}, {"read", "44", "00", "4"}, {"dump", "44", "3", dump},
      {"send", script},           {"--reg-bits", "16", "read", "44", "0000"}};
  for (const auto& command : commands) {
    std::vector<std::string> args{"--port", kLines};
    args.insert(args.end(), command.begin(), command.end());
    const CliOutcome result = run(args);
    EXPECT_EQ(result.status, kExitUsageOrPortError) << command[0];
    EXPECT_EQ(result.out, "") << command[0];
    EXPECT_NE(result.err.find("68: SDA is held low"), std::string::npos) << result.err;
    EXPECT_NE(result.err.find("Run recover (Bus > Recover Bus in the window)"), std::string::npos)
        << result.err;
  }
  EXPECT_EQ(testing::readWhole(dump), "44  0  12\r\n");
}

}  // namespace
}  // namespace brelvion::apps::cli
