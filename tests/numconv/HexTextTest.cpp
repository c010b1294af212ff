#include <gtest/gtest.h>

#include "numconv/HexText.h"

namespace brelvion::numconv {
namespace {

TEST(HexTextTest, UpperCaseDigitsPaddedToTheWidthAsked) {
  EXPECT_EQ(upperHex(0x0A, 2), "0A");
  EXPECT_EQ(upperHex(0, 2), "00");
  EXPECT_EQ(upperHex(0xFF, 2), "FF");
  EXPECT_EQ(upperHex(0x3BC), "3BC");
  EXPECT_EQ(upperHex(0x378, 2), "378");
  EXPECT_EQ(upperHex(0), "0");
  EXPECT_EQ(upperHex(0xD000ABCDULL), "D000ABCD");
}

}  // namespace
}  // namespace brelvion::numconv
