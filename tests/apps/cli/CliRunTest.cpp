#include <gtest/gtest.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "CliRun.h"
#include "support/FakeParportTree.h"
#include "support/FakePortSystemCalls.h"

namespace brelvion::apps::cli {
namespace {

struct CliOutcome {
  int status;
  std::string out;
  std::string err;
};

// Runs with a system root that has no parallel port, unless the test gives one.
CliOutcome run(std::vector<std::string> args,
               const std::filesystem::path& root = "/nonexistent-root",
               port::hardware::PortSystemCalls& calls = port::hardware::PortSystemCalls::real()) {
  std::ostringstream out;
  std::ostringstream err;
  const int status = runCli(args, out, err, root, calls);
  return {status, out.str(), err.str()};
}

bool contains(const std::string& text, const std::string& part) {
  return text.find(part) != std::string::npos;
}

// A folder of its own for a test's files, removed afterwards.
struct ScratchFolder {
  explicit ScratchFolder(const std::string& name)
      : path(std::filesystem::temp_directory_path() /
             ("brelvion-cli-" + name + "-" + std::to_string(::getpid()))) {
    std::filesystem::remove_all(path);
    std::filesystem::create_directories(path);
  }
  ~ScratchFolder() { std::filesystem::remove_all(path); }
  std::vector<std::string> names() const {
    std::vector<std::string> found;
    for (const auto& entry : std::filesystem::directory_iterator(path)) {
      found.push_back(entry.path().filename().string());
    }
    return found;
  }
  std::filesystem::path path;
};

TEST(CliRunTest, WriteReadsBackAndReportsTheAcknowledge) {
  const CliOutcome written = run({"--backend", "sim", "write", "42", "12", "80"});
  EXPECT_EQ(written.status, 0);
  EXPECT_EQ(written.out, "80 ACK\n");
  EXPECT_EQ(written.err, "");

  const CliOutcome nobody =
      run({"--backend", "sim", "--sim-device", "none", "write", "42", "12", "80"});
  EXPECT_EQ(nobody.status, 1);
  EXPECT_EQ(nobody.out, "FF NO ACK\n");

  const CliOutcome elsewhere =
      run({"--backend", "sim", "--sim-device", "30", "write", "30", "05", "A5"});
  EXPECT_EQ(elsewhere.out, "A5 ACK\n");
}

TEST(CliRunTest, ReadPrintsSixteenBytesALine) {
  const CliOutcome result = run({"--backend", "sim", "read", "42", "00", "20"});
  EXPECT_EQ(result.status, 0);
  std::istringstream lines(result.out);
  std::string first;
  std::string second;
  std::getline(lines, first);
  std::getline(lines, second);
  EXPECT_EQ(first.size(), 16u * 3 - 1);
  EXPECT_EQ(second.size(), 4u * 3 - 1);
  EXPECT_TRUE(lines.peek() == EOF);
}

TEST(CliRunTest, ReadOfTheLargestCountPrintsEveryByte) {
  const CliOutcome result = run({"--backend", "sim", "read", "42", "00", "32768"});
  EXPECT_EQ(result.status, 0);
  EXPECT_EQ(result.out.size(), 32768u * 3);
  EXPECT_EQ(std::count(result.out.begin(), result.out.end(), '\n'), 32768 / 16);
}

TEST(CliRunTest, TracePrintsEveryAcceptedLinePadded) {
  const CliOutcome result = run({"--backend", "sim", "--trace", "read", "42", "00"});
  EXPECT_EQ(result.status, 0);
  std::istringstream lines(result.err);
  std::vector<std::string> trace;
  for (std::string line; std::getline(lines, line);) trace.push_back(line);
  ASSERT_GE(trace.size(), 3u);
  EXPECT_EQ(trace.front(), "Wisp SYS002: I2C bus opened on adress 378h" + std::string(8, ' '));
  EXPECT_EQ(trace[1], "Wisp SYS001: I2C port initialised. Bus cleared and released");
  EXPECT_EQ(trace.back(), "Wisp SYS003 :I2C Bus closed" + std::string(23, ' '));
  for (const std::string& line : trace) EXPECT_GE(line.size(), 50u);
}

TEST(CliRunTest, AutoFallsBackToTheSimulationAndSaysSo) {
  const CliOutcome result = run({"read", "42", "00"});
  EXPECT_EQ(result.status, 0);
  EXPECT_EQ(result.err,
            "brelvion-i2c-cli: no parallel port found; using the simulated bus with a camera "
            "sensor at 42\n");
}

TEST(CliRunTest, AMissingRealPortIsAPortError) {
  const CliOutcome result = run({"--backend", "ppdev", "read", "42", "00"});
  EXPECT_EQ(result.status, 2);
  EXPECT_EQ(result.err,
            "brelvion-i2c-cli: error 53: No parallel port at 0x378: no /dev/parport devices "
            "exist. Load the parallel-port drivers (sudo modprobe parport_pc ppdev) or use the "
            "simulated bus\n");
  EXPECT_EQ(result.out, "");
}

TEST(CliRunTest, CaptureWritesAVcd) {
  ScratchFolder folder("capture");
  const auto path = folder.path / "write.vcd";
  const CliOutcome result =
      run({"--backend", "sim", "--capture", path.string(), "write", "42", "12", "80"});
  EXPECT_EQ(result.status, 0);
  std::ifstream file(path);
  std::stringstream content;
  content << file.rdbuf();
  EXPECT_NE(content.str().find("$var wire 1 ! scl $end"), std::string::npos);
  EXPECT_EQ(folder.names(), std::vector<std::string>{"write.vcd"});
}

// A capture is written only after the command, so a place it cannot be written to is
// refused first: nothing printed, the port never opened, nothing left behind.
TEST(CliRunTest, ACaptureThatCannotBeWrittenThereIsRefusedBeforeThePortIsOpened) {
  ScratchFolder folder("capture-errors");
  std::ofstream(folder.path / "plain") << "a file, not a folder";
  std::filesystem::create_symlink(folder.path / "missing" / "bus.vcd", folder.path / "dangling");
  testing::FakeParportTree tree;
  tree.addPort(0, 0x378);
  const std::vector<std::tuple<std::string, std::string, std::string>> cases{
      {(folder.path / "missing" / "bus.vcd").string(), "error 76", "No such file or directory"},
      {folder.path.string(), "error 75", "Is a directory"},
      {(folder.path / "new/").string(), "error 75", "Is a directory"},
      {(folder.path / "plain" / "bus.vcd").string(), "error 76", "Not a directory"},
      {(folder.path / "dangling").string(), "error 76", "No such file or directory"},
  };
  for (const auto& [path, number, cause] : cases) {
    testing::FakePortSystemCalls calls;
    const CliOutcome refused = run(
        {"--backend", "ppdev", "--capture", path, "write", "42", "12", "80"}, tree.root(), calls);
    EXPECT_EQ(refused.status, 2) << path;
    EXPECT_EQ(refused.out, "") << path;
    EXPECT_EQ(refused.err,
              "brelvion-i2c-cli: " + number + ": Cannot write " + path + ": " + cause + "\n");
    EXPECT_TRUE(calls.log.empty()) << path << ": the port was used";
  }
  std::vector<std::string> left = folder.names();
  std::sort(left.begin(), left.end());
  EXPECT_EQ(left, (std::vector<std::string>{"dangling", "plain"}));

  const std::string hostile = (folder.path / "\x1b]0;title\x07" / "bus.vcd").string();
  const CliOutcome escaped = run({"--backend", "sim", "--capture", hostile, "read", "42", "00"});
  EXPECT_TRUE(contains(escaped.err, "\\x1B]0;title\\x07/bus.vcd")) << escaped.err;
}

// What only writing can find out (a full disk) comes after the result it belongs to.
TEST(CliRunTest, CaptureErrorsNameTheRealCauseAfterTheResult) {
  const CliOutcome failed =
      run({"--backend", "sim", "--capture", "/dev/full", "write", "42", "12", "80"});
  EXPECT_EQ(failed.status, 2);
  EXPECT_EQ(failed.out, "80 ACK\n");
  EXPECT_TRUE(contains(failed.err, "error 61: Cannot write /dev/full: No space left on device"))
      << failed.err;
}

TEST(CliRunTest, AutoNamesTheMissingPpdevModuleAndStillSimulates) {
  testing::FakeParportTree tree;
  tree.addProcEntry(0, "888\t1912\n");  // the kernel has the port; no /dev/parport0
  const CliOutcome result = run({"read", "42", "00"}, tree.root());
  EXPECT_EQ(result.status, 0);
  EXPECT_EQ(result.err, "brelvion-i2c-cli: the parallel port parport0 at 0x378 has no " +
                            tree.node(0) +
                            ": the ppdev module is not loaded (sudo modprobe ppdev); using the "
                            "simulated bus with a camera sensor at 42\n");

  const CliOutcome two = run({"--sim-device", "42,60", "read", "42", "00"}, tree.root());
  EXPECT_TRUE(two.err.ends_with("using the simulated bus with camera sensors at 42, 60\n"))
      << two.err;
  const CliOutcome none = run({"--sim-device", "none", "read", "42", "00"}, tree.root());
  EXPECT_TRUE(none.err.find("using the simulated bus with no device on it\n") != std::string::npos)
      << none.err;
}

TEST(CliRunTest, APortOnlyAtAnotherLptAddressIsNamedWithTheOptionThatSelectsIt) {
  testing::FakeParportTree tree;
  tree.addPort(0, 0x278);
  testing::FakePortSystemCalls calls;
  for (const char* backend : {"auto", "ppdev"}) {
    const CliOutcome result = run({"--backend", backend, "read", "42", "00"}, tree.root(), calls);
    EXPECT_EQ(result.status, 2);
    EXPECT_EQ(result.err, "brelvion-i2c-cli: error 53: No parallel port at 0x378: found " +
                              tree.node(0) +
                              " at 0x278. Choose the port at one of those addresses (--port "
                              "lpt2 selects the one at 0x278)\n");
  }
  EXPECT_TRUE(calls.log.empty());

  // SDA reads released: a free bus where nothing answers.
  calls.reads[PPRSTATUS] = 0x80;
  const CliOutcome chosen = run({"--port", "lpt2", "read", "42", "00"}, tree.root(), calls);
  EXPECT_EQ(chosen.status, 1) << chosen.err;
  EXPECT_EQ(chosen.out, "FF\n");
  EXPECT_EQ(chosen.err, "brelvion-i2c-cli: NO ACK from device 42\n");
}

// The port goes away (EIO, or ENODEV for an unplugged USB adapter) at several points of a
// command: the bus clear, the address, the middle of the data.
TEST(CliRunTest, APortThatFailsMidCommandEndsItWithANumberedErrorAndNoCapture) {
  testing::FakeParportTree tree;
  tree.addPort(0, 0x378);
  ScratchFolder folder("port-failure");
  const auto capture = folder.path / "bus.vcd";
  std::ofstream(capture) << "earlier capture";
  for (const int error : {EIO, ENODEV}) {
    for (const int transfers : {0, 20, 90, 400, 1500}) {
      testing::FakePortSystemCalls calls;
      calls.transfersBeforeFailure = transfers;
      calls.transferError = error;
      calls.reads[PPRSTATUS] = 0x80;  // a free bus
      const CliOutcome result =
          run({"--backend", "ppdev", "--capture", capture.string(), "read", "42", "00", "64"},
              tree.root(), calls);
      EXPECT_EQ(result.status, 2) << transfers;
      EXPECT_EQ(result.out, "") << transfers;
      EXPECT_EQ(result.err, "brelvion-i2c-cli: error 68: Access to " + tree.node(0) +
                                " failed: " + std::strerror(error) + "\n");
      EXPECT_TRUE(calls.openFds.empty()) << "port left open after " << transfers;
    }
  }
  std::ifstream kept(capture);
  std::string content((std::istreambuf_iterator<char>(kept)), std::istreambuf_iterator<char>());
  EXPECT_EQ(content, "earlier capture");
  EXPECT_EQ(folder.names(), std::vector<std::string>{"bus.vcd"});
}

TEST(CliRunTest, UsageErrorsAndHelp) {
  const CliOutcome bad = run({"write", "42"});
  EXPECT_EQ(bad.status, 2);
  EXPECT_EQ(bad.err, "brelvion-i2c-cli: write wants DEV SUB DATA\n");
  const CliOutcome help = run({"--help"});
  EXPECT_EQ(help.status, 0);
  EXPECT_NE(help.out.find("--sim-device"), std::string::npos);
  // As the windowed program says it, and before a command is looked at.
  const CliOutcome version = run({"--version", "poke"});
  EXPECT_EQ(version.status, 0);
  EXPECT_EQ(version.out.rfind("brelvion-i2c-cli ", 0), 0u) << version.out;
  EXPECT_EQ(version.err, "");
}

}  // namespace
}  // namespace brelvion::apps::cli
