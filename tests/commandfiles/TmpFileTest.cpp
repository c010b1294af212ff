#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>

#include "commandfiles/Sender.h"
#include "commandfiles/TmpFile.h"
#include "support/EngineFixture.h"
#include "support/RecordingPort.h"
#include "support/ScratchDirectory.h"

namespace brelvion::commandfiles {
namespace {

using testing::readWhole;
using testing::ScratchDirectory;
using testing::WorkingDirectory;
namespace fs = std::filesystem;

struct TmpFileTest : ::testing::Test {
  ScratchDirectory scratch;
  testing::EngineSet<testing::RecordingPort> set;
  core::ProgramValues& values = set.core.values();
};

TEST_F(TmpFileTest, TheCopyIsTmpI2CInTheCurrentDirectory) {
  WorkingDirectory here(scratch.path());
  scratch.write("a.i2c", "42 12 80 ; first\n");
  prepareCommandFile(set.core, "a.i2c");
  EXPECT_EQ(values.tmpFileName, "tmpI2C.txt");
  EXPECT_EQ(values.sendFileName, "tmpI2C.txt");
  EXPECT_EQ(readWhole("tmpI2C.txt"), "42 12 80 \r\n");
  // No temporary names are left beside it.
  EXPECT_EQ(std::distance(fs::directory_iterator(scratch.path()), fs::directory_iterator()), 2);

  cleanUp(set.core);
  EXPECT_FALSE(fs::exists("tmpI2C.txt"));
  cleanUp(set.core);
  EXPECT_TRUE(set.desktop.boxes.empty()) << "a copy already gone is no error";
}

TEST_F(TmpFileTest, ALinkPlantedUnderTheNameIsReplacedNotFollowed) {
  WorkingDirectory here(scratch.path());
  const std::string victim = scratch.write("victim.txt", "precious\n");
  fs::create_symlink(victim, "tmpI2C.txt");
  scratch.write("a.i2c", "42 12 80\n");
  prepareCommandFile(set.core, "a.i2c");
  EXPECT_EQ(readWhole(victim), "precious\n");
  EXPECT_TRUE(fs::is_regular_file(fs::symlink_status("tmpI2C.txt")));
  EXPECT_EQ(readWhole("tmpI2C.txt"), "42 12 80\r\n");

  fs::remove("tmpI2C.txt");
  fs::create_symlink(victim, "tmpI2C.txt");
  cleanUp(set.core);
  EXPECT_FALSE(fs::exists(fs::symlink_status("tmpI2C.txt")));
  EXPECT_EQ(readWhole(victim), "precious\n") << "CleanUp removes the link, not its target";
}

TEST_F(TmpFileTest, AMissingSourceIsReportedAndLeavesTheCopyEmpty) {
  const std::string dir = scratch.path().string();
  createTmpFile(set.core, scratch.write("old.i2c", "42 12 80\n"), dir);
  const auto failure = createTmpFile(set.core, scratch.file("missing.i2c"), dir);
  ASSERT_TRUE(failure.has_value());
  EXPECT_EQ(failure->step, Step::CreateTmpFile);
  EXPECT_EQ(failure->error.number(), base::RuntimeError::kFileNotFound);
  ASSERT_EQ(set.desktop.boxes.size(), 1u);
  const desktop::MessageBoxRequest& box = set.desktop.boxes[0];
  EXPECT_EQ(box.title, "Create tmpFile - Error");
  EXPECT_EQ(box.icon, desktop::MessageIcon::Exclamation);
  EXPECT_EQ(box.text,
            "53: Cannot read " + scratch.file("missing.i2c") + ": No such file or directory");
  EXPECT_EQ(readWhole(values.tmpFileName), "") << "the older file's writes must not be sent";
}

TEST_F(TmpFileTest, OpenWithNothingChosenPreparesNothing) {
  prepareCommandFile(set.core, "");
  EXPECT_EQ(values.sendFileName, "");
  EXPECT_EQ(values.tmpFileName, "");
  cleanUp(set.core);
  EXPECT_TRUE(set.desktop.boxes.empty());
}

TEST_F(TmpFileTest, ADeletionThatFailsIsReportedAndTheCallerGoesOn) {
  values.tmpFileName = scratch.path().string();  // a directory cannot be unlinked
  cleanUp(set.core);
  ASSERT_EQ(set.desktop.boxes.size(), 1u);
  EXPECT_EQ(set.desktop.boxes[0].title, "CleanUp - Error:");
  EXPECT_EQ(set.desktop.boxes[0].icon, desktop::MessageIcon::Exclamation);
  EXPECT_EQ(set.desktop.boxes[0].text,
            "75: Cannot delete " + scratch.path().string() + ": Is a directory");
}

// A text in memory reads, counts and copies exactly as the same text in a file does, where
// it ends and where it crosses from one of the reader's 64 KiB pieces to the next.
TEST_F(TmpFileTest, ATextInMemoryReadsAndCopiesAsItsFileDoes) {
  const std::string line = "  4A 1 f ; c\r";
  for (const std::size_t length : {std::size_t{0}, std::size_t{5}, std::size_t{65535},
                                   std::size_t{65536}, std::size_t{65537}, std::size_t{140000}}) {
    std::string text;
    while (text.size() < length) text += line;
    text.resize(length);
    const std::string path = scratch.write("a.i2c", text);
    InputFile onDisk(path, "test");
    InputFile inMemory = InputFile::fromText(text, "a.i2c");
    for (int value = 0; value >= 0;) {
      value = readHexField(onDisk);
      ASSERT_EQ(readHexField(inMemory), value) << length << " bytes";
    }
    EXPECT_TRUE(inMemory.atEnd());
    InputFile counted = InputFile::fromText(text, "a.i2c");
    EXPECT_EQ(countWrites(counted), countWrites(path)) << length;
    ASSERT_FALSE(createTmpFile(set.core, path, scratch.path().string()));
    EXPECT_EQ(commentFreeCopy(text), readWhole(values.tmpFileName)) << length;
  }
}

}  // namespace
}  // namespace brelvion::commandfiles
