#include <gtest/gtest.h>

#include "platform/RuntimeError.h"

namespace brelvion::platform {
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
}  // namespace brelvion::platform
