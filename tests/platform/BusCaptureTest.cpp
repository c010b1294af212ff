#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <sstream>

#include "platform/BusCapture.h"
#include "platform/RuntimeError.h"

namespace brelvion::platform {
namespace {

TEST(BusCaptureTest, KeepsOnlyChangesWithStrictlyIncreasingTimes) {
  BusCapture capture;
  capture.record(100, true, true);
  capture.record(200, true, true);
  capture.record(300, true, false);
  capture.record(250, false, false);  // late: becomes the levels at 300
  ASSERT_EQ(capture.samples().size(), 2u);
  EXPECT_EQ(capture.samples()[1].timeNs, 300);
  EXPECT_FALSE(capture.samples()[1].scl);

  capture.record(300, true, true);  // back to the levels before it at the same instant
  ASSERT_EQ(capture.samples().size(), 1u);
  EXPECT_EQ(capture.samples()[0].timeNs, 100);
}

TEST(BusCaptureTest, AmendingSdaMergesSamplesThatNoLongerChangeAnything) {
  BusCapture capture;
  capture.record(0, false, true);   // SCL low, SDA released
  capture.record(10, true, true);   // SCL high
  capture.record(20, false, true);  // SCL low
  capture.amendSda(0, false);       // a slave held SDA low all along
  ASSERT_EQ(capture.samples().size(), 3u);
  for (const auto& sample : capture.samples()) EXPECT_FALSE(sample.sda);

  capture.amendSda(1, false);
  EXPECT_EQ(capture.samples().size(), 3u);
  capture.amendSda(7, true);
  EXPECT_EQ(capture.samples().size(), 3u);
}

TEST(BusCaptureTest, WritesAVcdWithTimesFromTheFirstSample) {
  BusCapture capture;
  capture.record(1000, true, true);
  capture.record(6000, true, false);
  capture.record(11000, false, false);
  std::ostringstream out;
  capture.writeVcd(out);
  const std::string vcd = out.str();
  EXPECT_NE(vcd.find("$timescale 1 ns $end"), std::string::npos);
  EXPECT_NE(vcd.find("$var wire 1 ! scl $end"), std::string::npos);
  EXPECT_NE(vcd.find("$var wire 1 \" sda $end"), std::string::npos);
  EXPECT_NE(vcd.find("#0\n$dumpvars\n1!\n1\"\n$end\n#5000\n0\"\n#10000\n0!\n#20000\n"),
            std::string::npos)
      << vcd;
}

TEST(BusCaptureTest, AFileThatCannotBeWrittenFailsAndLeavesNothing) {
  BusCapture capture;
  capture.record(0, true, true);
  const std::filesystem::path dir = std::filesystem::temp_directory_path() / "brelvion-capture";
  std::filesystem::create_directories(dir);
  const std::string path = (dir / "missing" / "bus.vcd").string();
  try {
    capture.writeVcdFile(path);
    FAIL() << "wrote into a missing folder";
  } catch (const RuntimeError& error) {
    EXPECT_NE(std::string(error.description()).find(path), std::string::npos);
  }
  EXPECT_FALSE(std::filesystem::exists(path + ".partial"));

  const std::string good = (dir / "bus.vcd").string();
  capture.writeVcdFile(good);
  std::ifstream file(good);
  std::string first;
  std::getline(file, first);
  EXPECT_EQ(first.rfind("$version", 0), 0u);
  EXPECT_FALSE(std::filesystem::exists(good + ".partial"));
  std::filesystem::remove_all(dir);
}

// A capture name that is a link, as a user keeps a fixed name pointing into the current
// session's folder: the linked file gets the capture and the link stays a link.
TEST(BusCaptureTest, ACaptureWrittenThroughALinkGoesIntoTheLinkedFile) {
  BusCapture capture;
  capture.record(0, true, true);
  capture.record(5000, true, false);
  const std::filesystem::path dir =
      std::filesystem::temp_directory_path() / "brelvion-capture-link";
  std::filesystem::remove_all(dir);
  std::filesystem::create_directories(dir);
  { std::ofstream(dir / "session.vcd") << "older capture\n"; }
  std::filesystem::create_symlink("session.vcd", dir / "latest.vcd");

  capture.writeVcdFile((dir / "latest.vcd").string());
  EXPECT_TRUE(std::filesystem::is_symlink(dir / "latest.vcd"));
  std::ifstream file(dir / "session.vcd");
  const std::string text((std::istreambuf_iterator<char>(file)), std::istreambuf_iterator<char>());
  std::ostringstream expected;
  capture.writeVcd(expected);
  EXPECT_EQ(text, expected.str());
  std::filesystem::remove_all(dir);
}

}  // namespace
}  // namespace brelvion::platform
