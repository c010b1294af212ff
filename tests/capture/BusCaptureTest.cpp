#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <sstream>
#include <thread>

#include "base/RuntimeError.h"
#include "capture/BusCapture.h"

namespace brelvion::capture {
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

TEST(BusCaptureTest, SclAmendedLowMergesTheSamplesThatNoLongerChangeAnything) {
  BusCapture capture;
  capture.record(0, false, true);
  capture.record(10, true, true);   // the master released SCL
  capture.record(20, true, false);  // SDA fell: a START, as the master saw it
  capture.amendScl(1, false);       // but a slave held SCL low all along
  ASSERT_EQ(capture.samples().size(), 2u);
  EXPECT_EQ(capture.samples()[1].timeNs, 20);
  EXPECT_FALSE(capture.samples()[1].scl);
  EXPECT_FALSE(capture.samples()[1].sda);
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

std::string readAll(const std::filesystem::path& path) {
  std::ifstream in(path, std::ios::binary);
  std::stringstream text;
  text << in.rdbuf();
  return text.str();
}

class BusCaptureFileTest : public ::testing::Test {
 protected:
  BusCaptureFileTest() {
    std::filesystem::remove_all(dir);
    std::filesystem::create_directories(dir);
    capture.record(0, true, true);
  }
  ~BusCaptureFileTest() override { std::filesystem::remove_all(dir); }

  // One per process: ctest runs the cases of this fixture side by side.
  const std::filesystem::path dir =
      std::filesystem::temp_directory_path() / ("brelvion-capture-" + std::to_string(::getpid()));
  BusCapture capture;
};

TEST_F(BusCaptureFileTest, AFileThatCannotBeWrittenFailsNamingTheCauseAndLeavesNothing) {
  const std::string path = (dir / "missing" / "bus.vcd").string();
  try {
    capture.writeVcdFile(path);
    FAIL() << "wrote into a missing folder";
  } catch (const base::RuntimeError& error) {
    EXPECT_EQ(error.number(), base::RuntimeError::kPathNotFound);
    EXPECT_EQ(error.description(), "Cannot write " + path + ": No such file or directory");
  }
  EXPECT_TRUE(std::filesystem::is_empty(dir));

  const std::string good = (dir / "bus.vcd").string();
  capture.writeVcdFile(good);
  EXPECT_EQ(readAll(good).rfind("$version", 0), 0u);
  EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir), {}), 1);
}

TEST_F(BusCaptureFileTest, KeepsTheUsersOwnPartialFileAndTheModeOfTheOldCapture) {
  const auto path = dir / "bus.vcd";
  std::ofstream(path.string() + ".partial") << "the user's own";
  std::ofstream(path) << "old capture";
  ::chmod(path.c_str(), 0640);
  capture.writeVcdFile(path.string());
  EXPECT_EQ(readAll(path.string() + ".partial"), "the user's own");
  EXPECT_EQ(readAll(path).rfind("$version", 0), 0u);
  EXPECT_EQ(std::filesystem::status(path).permissions(), std::filesystem::perms::owner_read |
                                                             std::filesystem::perms::owner_write |
                                                             std::filesystem::perms::group_read);
}

TEST_F(BusCaptureFileTest, FollowsALinkAndWritesAFifoInPlace) {
  const auto target = dir / "target.vcd";
  std::filesystem::create_symlink(target, dir / "link.vcd");
  capture.writeVcdFile((dir / "link.vcd").string());
  EXPECT_TRUE(std::filesystem::is_symlink(dir / "link.vcd"));
  EXPECT_EQ(readAll(target).rfind("$version", 0), 0u);

  const auto fifo = dir / "fifo.vcd";
  ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
  std::string received;
  std::thread reader([&] { received = readAll(fifo); });
  capture.writeVcdFile(fifo.string());
  reader.join();
  EXPECT_EQ(received.rfind("$version", 0), 0u);
  EXPECT_TRUE(std::filesystem::is_fifo(fifo));
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
}  // namespace brelvion::capture
