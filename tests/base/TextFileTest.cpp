#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <string>

#include "base/Text.h"
#include "base/TextFile.h"
#include "support/RaisesRuntimeError.h"
#include "support/ScratchDirectory.h"

namespace brelvion::base {
namespace {

TEST(TextFileTest, TextLosesAByteOrderMarkAtItsHeadAloneAndBytesKeepIt) {
  const testing::ScratchDirectory dir;
  const std::string mark(kByteOrderMark);
  const struct {
    std::string content;
    std::string text;
  } cases[] = {
      {mark + "device 42\r\n", "device 42\r\n"},
      {mark, ""},
      {"; a\n" + mark, "; a\n" + mark},
      {mark.substr(0, 2) + "x", mark.substr(0, 2) + "x"},
  };
  for (const auto& c : cases) {
    const std::string path = dir.write("t.i2cs", c.content);
    EXPECT_EQ(readTextFile(path, "test"), c.text) << c.content;
    EXPECT_EQ(readFileBytes(path, "test"), c.content) << c.content;
  }
}

TEST(TextFileTest, AFileOverTheLimitIsRefusedNamingItAndWhatItWasFor) {
  const testing::ScratchDirectory dir;
  const std::size_t limit = 1u << 20;
  const std::string path = dir.write("big.csv", std::string(limit + 1, 'x'));
  EXPECT_THAT(
      [&] {
        readTextFile(path, "Register Map", {limit, "a register map"});
      },
      testing::raisesRuntimeError(321, path + ": larger than 1 MB, too large for a register map"));
  EXPECT_EQ(readTextFile(path, "test", {limit + 1, "a test"}).size(), limit + 1);
}

}  // namespace
}  // namespace brelvion::base
