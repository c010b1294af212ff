#include <gtest/gtest.h>

#include <functional>

#include "base/RuntimeError.h"
#include "commandfiles/CommandDelay.h"
#include "support/RaisesRuntimeError.h"

namespace brelvion::commandfiles {
namespace {

using testing::errorNumberOf;

TEST(CommandDelayTest, TheDelayFieldsGiveSecondsAndDigitsAfterThePoint) {
  EXPECT_DOUBLE_EQ(DelayValue("1", "5"), 1.5);
  EXPECT_DOUBLE_EQ(DelayValue("0", "05"), 0.05);
  EXPECT_DOUBLE_EQ(DelayValue("2", "00"), 2.0);
  EXPECT_DOUBLE_EQ(DelayValue(" 3", " 7 "), 3.7);
  EXPECT_DOUBLE_EQ(DelayValue(" 0", " 00"), 0.0);
  // A blank seconds field leaves only the fraction.
  EXPECT_DOUBLE_EQ(DelayValue(" ", "5"), 0.5);
  EXPECT_DOUBLE_EQ(DelayValue("9", "99"), 9.99);
}

TEST(CommandDelayTest, OnlyDigitsAndOnePointMakeANumber) {
  for (const char* text : {"x", ".", "", "-1.5", "+1.5", "1e3", "1 .5", "1..5", "1.5.0", "0x1"}) {
    EXPECT_EQ(errorNumberOf([&] { DelayNumber(text); }), 13) << text;
  }
  EXPECT_EQ(errorNumberOf([] { DelayValue("0", "x"); }), 13);
  EXPECT_EQ(errorNumberOf([] { DelayValue("-", "5"); }), 13);
  EXPECT_EQ(errorNumberOf([] { DelayValue(" ", "  "); }), 13);
  EXPECT_DOUBLE_EQ(DelayNumber(" 3. "), 3.0);
  EXPECT_DOUBLE_EQ(DelayNumber(".05"), 0.05);
}

// The companion's --delay takes what the window's two fields can hold, no more.
TEST(CommandDelayTest, OneTextTakesWhatTheTwoFieldsCanHold) {
  EXPECT_DOUBLE_EQ(DelayFromText("1.5"), 1.5);
  EXPECT_DOUBLE_EQ(DelayFromText(".05"), 0.05);
  EXPECT_DOUBLE_EQ(DelayFromText("2"), 2.0);
  EXPECT_DOUBLE_EQ(DelayFromText(" 3. "), 3.0);
  EXPECT_DOUBLE_EQ(DelayFromText("9.99"), 9.99);
  EXPECT_DOUBLE_EQ(DelayFromText("0"), 0.0);
  for (const char* text : {"", ".", "10", "1.234", "-1", "1e1", "1 .5", "1,5", "0x1", "1.5."}) {
    EXPECT_EQ(errorNumberOf([&] { DelayFromText(text); }), 13) << text;
  }
}

}  // namespace
}  // namespace brelvion::commandfiles
