#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>

#include "desktop/DocumentLookup.h"

namespace brelvion::desktop {
namespace {

namespace fs = std::filesystem;

// The two layouts the build produces: a developer's build tree (the program with a docs
// folder beside it) and an installed prefix (bin/ and share/doc/brelvion-i2c/).
class DocumentLookupTest : public ::testing::Test {
 protected:
  void SetUp() override {
    root_ = fs::temp_directory_path() / ("brelvion-docs-" + std::to_string(::getpid()));
    fs::remove_all(root_);
    fs::create_directories(root_ / "build/apps/gui/docs");
    fs::create_directories(root_ / "prefix/bin");
    fs::create_directories(root_ / "prefix/share/doc/brelvion-i2c");
  }
  void TearDown() override {
    setProgramDirectory("");
    fs::remove_all(root_);
  }
  void touch(const fs::path& relative) { std::ofstream(root_ / relative) << "text\n"; }

  fs::path root_;
};

TEST_F(DocumentLookupTest, FindsDocumentsBesideABuiltProgram) {
  touch("build/apps/gui/docs/readme.txt");
  setProgramDirectory((root_ / "build/apps/gui").string());
  EXPECT_EQ(findDocument("readme.txt"), (root_ / "build/apps/gui/docs/readme.txt").string());
  EXPECT_FALSE(findDocument("Cable.pdf"));
}

TEST_F(DocumentLookupTest, FindsDocumentsOfAnInstalledProgram) {
  touch("prefix/share/doc/brelvion-i2c/I2cbus.pdf");
  setProgramDirectory((root_ / "prefix/bin").string());
  EXPECT_EQ(findDocument("I2cbus.pdf"),
            (root_ / "prefix/share/doc/brelvion-i2c/I2cbus.pdf").string());
}

TEST_F(DocumentLookupTest, AbsoluteNamesAndEmptyNamesAreNotSearched) {
  touch("prefix/bin/winwisp.txt");
  setProgramDirectory((root_ / "prefix/bin").string());
  EXPECT_EQ(findDocument((root_ / "prefix/bin/winwisp.txt").string()),
            (root_ / "prefix/bin/winwisp.txt").string());
  EXPECT_FALSE(findDocument((root_ / "winwisp.txt").string()));
  EXPECT_FALSE(findDocument(""));
}

}  // namespace
}  // namespace brelvion::desktop
