#include <gtest/gtest.h>

#include <functional>

#include "base/RuntimeError.h"
#include "commandfiles/CommandDelay.h"
#include "support/RaisesRuntimeError.h"

namespace brelvion::commandfiles {
namespace {

using testing::errorNumberOf;

TEST(CommandDelayTest, TheDelayFieldsGiveSecondsAndDigitsAfterThePoint) {
  EXPECT_DOUBLE_EQ(delayValue("1", "5"), 1.5);
  EXPECT_DOUBLE_EQ(delayValue("0", "05"), 0.05);
  EXPECT_DOUBLE_EQ(delayValue("2", "00"), 2.0);
  EXPECT_DOUBLE_EQ(delayValue(" 3", " 7 "), 3.7);
  EXPECT_DOUBLE_EQ(delayValue(" 0", " 00"), 0.0);
  // A blank seconds field leaves only the fraction.
  EXPECT_DOUBLE_EQ(delayValue(" ", "5"), 0.5);
  EXPECT_DOUBLE_EQ(delayValue("9", "99"), 9.99);
}

TEST(CommandDelayTest, OnlyDigitsAndOnePointMakeANumber) {
  for (const char* text : {"x", ".", "", "-1.5", "+1.5", "1e3", "1 .5", "1..5", "1.5.0", "0x1"}) {
    EXPECT_EQ(errorNumberOf([&] { delayNumber(text); }), 13) << text;
  }
  EXPECT_EQ(errorNumberOf([] { delayValue("0", "x"); }), 13);
  EXPECT_EQ(errorNumberOf([] { delayValue("-", "5"); }), 13);
  EXPECT_EQ(errorNumberOf([] { delayValue(" ", "  "); }), 13);
  EXPECT_DOUBLE_EQ(delayNumber(" 3. "), 3.0);
  EXPECT_DOUBLE_EQ(delayNumber(".05"), 0.05);
}

// The companion's --delay takes what the window's two fields can hold, no more.
TEST(CommandDelayTest, OneTextTakesWhatTheTwoFieldsCanHold) {
  EXPECT_DOUBLE_EQ(delayFromText("1.5"), 1.5);
  EXPECT_DOUBLE_EQ(delayFromText(".05"), 0.05);
  EXPECT_DOUBLE_EQ(delayFromText("2"), 2.0);
  EXPECT_DOUBLE_EQ(delayFromText(" 3. "), 3.0);
  EXPECT_DOUBLE_EQ(delayFromText("9.99"), 9.99);
  EXPECT_DOUBLE_EQ(delayFromText("0"), 0.0);
  for (const char* text : {"", ".", "10", "1.234", "-1", "1e1", "1 .5", "1,5", "0x1", "1.5."}) {
    EXPECT_EQ(errorNumberOf([&] { delayFromText(text); }), 13) << text;
  }
}

}  // namespace
}  // namespace brelvion::commandfiles
