#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>

#include "CliRun.h"

namespace brelvion::cli {
namespace {

struct CliOutcome {
  int status;
  std::string out;
  std::string err;
};

// Runs with a system root that has no parallel port, unless the test gives one.
CliOutcome run(std::vector<std::string> args,
               const std::filesystem::path& root = "/nonexistent-root") {
  std::ostringstream out;
  std::ostringstream err;
  const int status = runCli(args, out, err, root);
  return {status, out.str(), err.str()};
}

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
  EXPECT_NE(result.err.find("using the simulated bus"), std::string::npos) << result.err;
}

TEST(CliRunTest, AMissingRealPortIsAPortError) {
  const CliOutcome result = run({"--backend", "ppdev", "read", "42", "00"});
  EXPECT_EQ(result.status, 2);
  EXPECT_NE(result.err.find("error 53"), std::string::npos) << result.err;
  EXPECT_EQ(result.out, "");
}

TEST(CliRunTest, CaptureWritesAVcdOrFailsWithoutLeavingOne) {
  const auto dir = std::filesystem::temp_directory_path() / "brelvion-cli-capture";
  std::filesystem::create_directories(dir);
  const auto path = dir / "write.vcd";
  const CliOutcome result =
      run({"--backend", "sim", "--capture", path.string(), "write", "42", "12", "80"});
  EXPECT_EQ(result.status, 0);
  std::ifstream file(path);
  std::stringstream content;
  content << file.rdbuf();
  EXPECT_NE(content.str().find("$var wire 1 ! scl $end"), std::string::npos);

  const auto bad = dir / "missing" / "write.vcd";
  const CliOutcome failed =
      run({"--backend", "sim", "--capture", bad.string(), "write", "42", "12", "80"});
  EXPECT_EQ(failed.status, 2);
  EXPECT_NE(failed.err.find(bad.string()), std::string::npos);
  EXPECT_FALSE(std::filesystem::exists(bad));
  std::filesystem::remove_all(dir);
}

TEST(CliRunTest, UsageErrorsAndHelp) {
  const CliOutcome bad = run({"write", "42"});
  EXPECT_EQ(bad.status, 2);
  EXPECT_EQ(bad.err, "brelvion-i2c-cli: write wants DEV SUB DATA\n");
  const CliOutcome help = run({"--help"});
  EXPECT_EQ(help.status, 0);
  EXPECT_NE(help.out.find("--sim-device"), std::string::npos);
}

}  // namespace
}  // namespace brelvion::cli
