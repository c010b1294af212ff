#include <gtest/gtest.h>
#include <stdlib.h>

#include <chrono>
#include <filesystem>
#include <sstream>

#include "CliArguments.h"
#include "CliRun.h"
#include "simulator/SimulatedParallelPort.h"
#include "support/FakeClock.h"
#include "support/ScratchDirectory.h"

namespace brelvion::apps::cli {
namespace {

using namespace std::chrono_literals;
using testing::readWhole;
using testing::ScratchDirectory;
namespace fs = std::filesystem;

struct Outcome {
  int status;
  std::string out;
  std::string err;
};

// One simulated sensor kept from run to run, as a real one on the cable would be, and a
// clock that never waits. The companion's private copies go into the scratch directory.
struct CliFileCommandsTest : ::testing::Test {
  CliFileCommandsTest() {
    const char* old = std::getenv("TMPDIR");
    if (old != nullptr) oldTmpDir = old;
    fs::create_directory(privateParent());
    setenv("TMPDIR", privateParent().c_str(), 1);
  }
  ~CliFileCommandsTest() override {
    if (oldTmpDir.empty()) {
      unsetenv("TMPDIR");
    } else {
      setenv("TMPDIR", oldTmpDir.c_str(), 1);
    }
  }

  Outcome run(std::vector<std::string> args, std::ostream* out = nullptr) {
    std::ostringstream captured;
    std::ostringstream err;
    const int status = runCli(args, out != nullptr ? *out : captured, err, "/nonexistent-root",
                              port::hardware::PortSystemCalls::real(), {&port, &clock});
    return {status, captured.str(), err.str()};
  }
  std::string privateParent() const { return scratch.file("tmp"); }
  bool privateCopiesLeft() const { return !fs::is_empty(privateParent()); }

  ScratchDirectory scratch;
  simulator::SimulatedParallelPort port;
  testing::FakeClock clock;
  std::string oldTmpDir;
};

TEST_F(CliFileCommandsTest, SendPrintsEachWriteAndPausesAsTheWindowDoes) {
  const std::string file = scratch.write("s.i2c", "; set-up\n42 10 5\n60 1 2 ; nobody there\n");
  const Outcome sent = run({"--delay", "0.5", "send", file});
  EXPECT_EQ(sent.out, "42 10 05 ACK\n60 01 02 NO ACK\n");
  EXPECT_EQ(sent.status, kExitNotAcknowledged);
  EXPECT_GE(clock.time, 1200ms);
  EXPECT_LT(clock.time, 1201ms);
  EXPECT_FALSE(privateCopiesLeft());

  const Outcome good = run({"send", scratch.write("g.i2c", "43 10 6\n")});
  EXPECT_EQ(good.status, kExitAcknowledged);
  EXPECT_EQ(good.out, "42 10 06 ACK\n");
}

TEST_F(CliFileCommandsTest, ADumpSentBackRestoresTheSensor) {
  const std::string before = scratch.file("before.i2c");
  ASSERT_EQ(run({"dump", "42", "255", before}).status, kExitAcknowledged);
  ASSERT_EQ(run({"write", "42", "10", "99"}).status, kExitAcknowledged);
  ASSERT_EQ(run({"write", "42", "05", "1"}).status, kExitAcknowledged);
  ASSERT_EQ(run({"dump", "42", "255", scratch.file("changed.i2c")}).status, kExitAcknowledged);
  ASSERT_NE(readWhole(scratch.file("changed.i2c")), readWhole(before));

  const Outcome sent = run({"send", before});
  EXPECT_EQ(sent.status, kExitAcknowledged);
  std::istringstream dumped(readWhole(before));
  std::istringstream written(sent.out);
  int lines = 0;
  for (std::string line, write; std::getline(dumped, line) && std::getline(written, write);
       ++lines) {
    unsigned device = 0, reg = 0, value = 0;
    ASSERT_EQ(std::sscanf(line.c_str(), "%x %x %x", &device, &reg, &value), 3);
    char expected[32];
    std::snprintf(expected, sizeof expected, "%02X %02X %02X ACK", device & 0xFE, reg, value);
    EXPECT_EQ(write, expected);
  }
  EXPECT_EQ(lines, 256);

  ASSERT_EQ(run({"dump", "42", "255", scratch.file("after.i2c")}).status, kExitAcknowledged);
  EXPECT_EQ(readWhole(scratch.file("after.i2c")), readWhole(before));
}

TEST_F(CliFileCommandsTest, AUsersOwnTmpI2CIsNeverTouched) {
  testing::WorkingDirectory here(scratch.path());
  scratch.write("tmpI2C.txt", "my notes\n");
  EXPECT_EQ(run({"send", scratch.write("s.i2c", "42 10 5\n")}).status, kExitAcknowledged);
  EXPECT_EQ(readWhole(scratch.file("tmpI2C.txt")), "my notes\n");
  EXPECT_FALSE(privateCopiesLeft());
}

TEST_F(CliFileCommandsTest, FilesThatCannotBeReadOrWrittenAreOneLineErrors) {
  const Outcome missing = run({"send", scratch.file("missing.i2c")});
  EXPECT_EQ(missing.status, kExitUsageOrPortError);
  EXPECT_EQ(missing.out, "");
  EXPECT_EQ(missing.err, "brelvion-i2c-cli: Create tmpFile - Error: 53: Cannot read " +
                             scratch.file("missing.i2c") + ": No such file or directory\n");
  EXPECT_FALSE(privateCopiesLeft());

  const std::string nowhere = scratch.file("no/dir/d.i2c");
  const Outcome dump = run({"dump", "42", "3", nowhere});
  EXPECT_EQ(dump.status, kExitUsageOrPortError);
  EXPECT_EQ(dump.err, "brelvion-i2c-cli: Dump To File - Error: 76: Cannot write " + nowhere +
                          ": No such file or directory\n");
}

TEST_F(CliFileCommandsTest, AnUnusableTmpdirIsNamedAndNothingIsSent) {
  const std::string missing = scratch.file("no-such-tmp");
  setenv("TMPDIR", missing.c_str(), 1);
  const Outcome sent = run({"send", scratch.write("s.i2c", "42 10 5\n")});
  EXPECT_EQ(sent.status, kExitUsageOrPortError);
  EXPECT_EQ(sent.out, "");
  EXPECT_EQ(sent.err, "brelvion-i2c-cli: cannot make a directory for the command file's copy in " +
                          missing + ": No such file or directory\n");
}

TEST_F(CliFileCommandsTest, ASendWhoseOutputIsLostStopsWriting) {
  std::ostream lost(nullptr);
  const Outcome sent = run({"send", scratch.write("s.i2c", "42 10 5\n42 11 6\n")}, &lost);
  EXPECT_EQ(sent.status, kExitUsageOrPortError);
  EXPECT_EQ(sent.err,
            "brelvion-i2c-cli: cannot write standard output: the send was stopped after write "
            "1\n");
}

// Nothing was read, so an earlier dump of that name is kept rather than replaced by FFs.
TEST_F(CliFileCommandsTest, ADumpNobodyAnswersLeavesTheFileAsItWasAndExits1) {
  std::ostringstream out;
  std::ostringstream err;
  const std::string file = scratch.write("none.i2c", "43  0  12\r\n");
  const int status = runCli({"--backend", "sim", "--sim-device", "none", "dump", "42", "1", file},
                            out, err, "/nonexistent-root");
  EXPECT_EQ(status, kExitNotAcknowledged);
  EXPECT_EQ(readWhole(file), "43  0  12\r\n");
  EXPECT_EQ(err.str(), "brelvion-i2c-cli: NO ACK from device 42\n");
}

TEST(CliFileArgumentsTest, SendDumpAndDelay) {
  const auto send = std::get<SendRequest>(
      std::get<CliRequest>(parseArguments({"--delay", "2.5", "send", "a.i2c"})).command);
  EXPECT_EQ(send.file, "a.i2c");
  EXPECT_DOUBLE_EQ(send.delay, 2.5);
  const auto dump = std::get<DumpRequest>(
      std::get<CliRequest>(parseArguments({"dump", "42", "32767", "-"})).command);
  EXPECT_EQ(dump.last, 32767);
  EXPECT_EQ(dump.file, "-");

  // The texts the window's delay fields take, blanks around them included.
  for (const char* good : {"0", "9.99", ".5", "1.", "0.05", " 1"}) {
    EXPECT_TRUE(
        std::holds_alternative<CliRequest>(parseArguments({"--delay", good, "send", "a.i2c"})))
        << good;
  }
  for (const char* bad : {"10", "-1", "0.001", "1e1", "", ".", "a", "1 .5"}) {
    const auto parsed = parseArguments({"--delay", bad, "send", "a.i2c"});
    ASSERT_TRUE(std::holds_alternative<UsageError>(parsed)) << bad;
    EXPECT_EQ(std::get<UsageError>(parsed).message.rfind("--delay must be 0 to 9.99", 0), 0u);
  }
  for (const std::vector<std::string>& bad : {std::vector<std::string>{"dump", "42", "32768", "f"},
                                              {"dump", "42", "-1", "f"},
                                              {"dump", "4G", "1", "f"},
                                              {"dump", "42", "1"},
                                              {"send"},
                                              {"send", "a", "b"}}) {
    EXPECT_TRUE(std::holds_alternative<UsageError>(parseArguments(bad))) << bad[0];
  }
}

TEST(CliFileArgumentsTest, TheHelpNamesTheFileCommands) {
  EXPECT_NE(usageText().find("send FILE"), std::string::npos);
  EXPECT_NE(usageText().find("dump DEV LAST FILE"), std::string::npos);
  EXPECT_NE(usageText().find("--delay SECONDS"), std::string::npos);
}

}  // namespace
}  // namespace brelvion::apps::cli
