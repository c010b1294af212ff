#include <gtest/gtest.h>

#include "desktop/FileDialogFilter.h"

namespace brelvion::desktop {
namespace {

std::vector<std::string> nameFilters(std::string_view filter) {
  std::vector<std::string> texts;
  for (const FileTypeFilter& entry : parseFileDialogFilter(filter)) {
    texts.push_back(nameFilterText(entry));
  }
  return texts;
}

TEST(FileDialogFilterTest, PairsBecomeNameFiltersWithoutShowingPatternsTwice) {
  EXPECT_EQ(nameFilters("Wisp files (*.WSP)|*.WSP|Text (*.TXT)|*.TXT"),
            (std::vector<std::string>{"Wisp files (*.WSP)", "Text (*.TXT)"}));
  EXPECT_EQ(nameFilters("I2C command files|*.i2c;*.I2C"),
            (std::vector<std::string>{"I2C command files (*.i2c *.I2C)"}));
  // Parentheses that hold no pattern are part of the description.
  EXPECT_EQ(nameFilters("Dumps (old)|*.i2c"), (std::vector<std::string>{"Dumps (old) (*.i2c)"}));
}

TEST(FileDialogFilterTest, OddShapesStillGiveUsableFilters) {
  EXPECT_TRUE(parseFileDialogFilter("").empty());
  EXPECT_EQ(nameFilters("All files"), (std::vector<std::string>{"All files (*)"}));
  EXPECT_EQ(nameFilters("Text|*.txt|All"), (std::vector<std::string>{"Text (*.txt)", "All (*)"}));
  EXPECT_EQ(nameFilters("Text| *.txt ; ;*.log"), (std::vector<std::string>{"Text (*.txt *.log)"}));
}

}  // namespace
}  // namespace brelvion::desktop
