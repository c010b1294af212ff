#include <gtest/gtest.h>

#include <sstream>

#include "CliRun.h"
#include "simulator/SimulatedParallelPort.h"
#include "support/FakeClock.h"
#include "support/ScratchDirectory.h"
#include "trace/DebugLog.h"

namespace brelvion::apps::cli {
namespace {

struct Outcome {
  int status;
  std::string out;
  std::string err;
};

// The simulated sensor at 42 and a clock that moves only by the pauses of a send.
struct CliTransactionsTest : ::testing::Test {
  Outcome run(std::vector<std::string> args) {
    std::ostringstream out;
    std::ostringstream err;
    const int status = runCli(args, out, err, "/nonexistent-root",
                              port::hardware::PortSystemCalls::real(), {&port, &clock});
    return {status, out.str(), err.str()};
  }

  testing::ScratchDirectory scratch;
  simulator::SimulatedParallelPort port;
  testing::FakeClock clock;
};

TEST_F(CliTransactionsTest, ALineATransactionInsteadOfTheStepTrace) {
  const Outcome written = run({"--transactions", "write", "42", "12", "80"});
  EXPECT_EQ(written.status, kExitAcknowledged);
  EXPECT_EQ(written.out, "80 ACK\n");
  EXPECT_EQ(written.err,
            "     0.000 ms  42 W  reg 12  80  ACK\n"
            "     0.000 ms  42 W  reg 12  ACK\n"
            "     0.000 ms  42 R  reg 12  80 E7  ACK\n");

  const Outcome nobody = run({"--transactions", "--7bit", "--repeated-start", "read", "30", "00"});
  EXPECT_EQ(nobody.status, kExitNotAcknowledged);
  EXPECT_EQ(nobody.err,
            "     0.000 ms  30 W  reg 00  NO ACK at address\n"
            "     0.000 ms  30 R  reg 00  FF  NO ACK at address\n"
            "brelvion-i2c-cli: NO ACK from device 30\n");
}

TEST_F(CliTransactionsTest, ASendsWritesAreTimedFromTheStartOfTheCommand) {
  const std::string file = scratch.write("s.i2c", "42 10 05\n42 11 06\n");
  const Outcome sent = run({"--transactions", "send", file});
  EXPECT_EQ(sent.status, kExitAcknowledged);
  EXPECT_EQ(sent.err,
            "     0.000 ms  42 W  reg 10  05  ACK\n"
            "   100.000 ms  42 W  reg 11  06  ACK\n");
  // With --trace as well, each transaction's line follows its steps.
  const Outcome both = run({"--trace", "--transactions", "write", "42", "12", "80"});
  EXPECT_NE(both.err.find(trace::padTraceLine("Wisp MSG002:  Generating STOP on bus ") +
                          "\n     0.000 ms  42 W  reg 12  80  ACK\n"),
            std::string::npos)
      << both.err;
}

// A register command's own width, and a script's: its pointer writes and the reads after
// them show the 16-bit register.
TEST(CliTransactionsWideTest, TheRegisterIsReadAsTheCommandsFormatReadsIt) {
  simulator::SimulatedBusConfig config;
  config.sensor16Addresses = {0x20};
  testing::ScratchDirectory scratch;
  const std::string script =
      scratch.write("bring-up.i2cs", "device 20\nregbits 16\nexpect 0005 01\n");
  const struct {
    std::vector<std::string> args;
    std::string lines;
  } cases[] = {
      {{"--transactions", "--reg-bits", "16", "write", "20", "0100", "01"},
       "     0.000 ms  20 W  reg 0100  01  ACK\n"},
      {{"--transactions", "send", script},
       "     0.000 ms  20 W  reg 0005  ACK\n"
       "     0.000 ms  20 R  reg 0005  01  ACK\n"},
  };
  for (const auto& c : cases) {
    simulator::SimulatedParallelPort port(config);
    testing::FakeClock clock;
    std::ostringstream out;
    std::ostringstream err;
    const int status = runCli(c.args, out, err, "/nonexistent-root",
                              port::hardware::PortSystemCalls::real(), {&port, &clock});
    EXPECT_EQ(status, kExitAcknowledged) << err.str();
    EXPECT_EQ(err.str().substr(0, c.lines.size()), c.lines);
  }
}

}  // namespace
}  // namespace brelvion::apps::cli
