#include <gtest/gtest.h>

#include <cerrno>

#include "base/FileError.h"
#include "base/RuntimeError.h"

namespace brelvion::base {
namespace {

TEST(RuntimeErrorTest, StandardDescriptionsAndTheBoxText) {
  const std::vector<std::pair<int, std::string>> cases{{5, "Invalid procedure call or argument"},
                                                       {6, "Overflow"},
                                                       {13, "Type mismatch"},
                                                       {53, "File not found"},
                                                       {55, "File already open"}};
  for (const auto& [number, description] : cases) {
    const RuntimeError error(number, "Form Load");
    EXPECT_EQ(error.description(), description);
    EXPECT_EQ(error.boxText(), std::to_string(number) + ": " + description);
    EXPECT_STREQ(error.what(), error.boxText().c_str());
  }
}

TEST(RuntimeErrorTest, RaisingAgainKeepsNumberAndDescriptionUnderANewSource) {
  const RuntimeError inner(70, "ppdev", "Permission denied on /dev/parport0");
  const RuntimeError outer = inner.withSource("Send File");
  EXPECT_EQ(outer.number(), 70);
  EXPECT_EQ(outer.description(), "Permission denied on /dev/parport0");
  EXPECT_EQ(outer.source(), "Send File");
}

}  // namespace
}  // namespace brelvion::base

namespace brelvion::base {
namespace {

TEST(FileErrorTest, NamesTheFileTheCauseAndTheNumberAUserKnows) {
  const RuntimeError missing = fileError(ENOENT, "read", "x.i2c", "Send File");
  EXPECT_EQ(missing.number(), RuntimeError::kFileNotFound);
  EXPECT_EQ(missing.description(), "Cannot read x.i2c: No such file or directory");
  EXPECT_EQ(missing.source(), "Send File");
  // Writing, a missing name means a missing folder.
  EXPECT_EQ(fileError(ENOENT, "write", "no/d.i2c", "").number(), RuntimeError::kPathNotFound);
  EXPECT_EQ(fileError(EACCES, "write", "d.i2c", "").number(), RuntimeError::kPermissionDenied);
  EXPECT_EQ(fileError(ENOSPC, "write", "d.i2c", "").number(), RuntimeError::kDiskFull);
  EXPECT_EQ(fileError(EIO, "read", "d.i2c", "").number(), RuntimeError::kDeviceUnavailable);
  EXPECT_EQ(fileError(EISDIR, "write", "d", "").number(), RuntimeError::kPathFileAccess);
}

}  // namespace
}  // namespace brelvion::base
