#include <gtest/gtest.h>

#include "base/RuntimeError.h"
#include "support/FakeDesktop.h"
#include "support/RaisesRuntimeError.h"
#include "windowlogic/FieldValues.h"

namespace brelvion::windowlogic {
namespace {

using base::RuntimeError;
using desktop::MessageIcon;

using testing::errorNumberOf;

TEST(FieldValuesTest, AddressFieldsReadHexOfEitherCaseWithBlanksAround) {
  EXPECT_EQ(addressFieldValue("42"), 0x42);
  EXPECT_EQ(addressFieldValue("ff"), 255);
  EXPECT_EQ(addressFieldValue("FF"), 255);
  EXPECT_EQ(addressFieldValue("1 "), 1);
  EXPECT_EQ(addressFieldValue("7FFF"), 32767);
}

TEST(FieldValuesTest, AddressFieldsFailOnEmptyOrForeignTextAndAbove16Bits) {
  EXPECT_EQ(errorNumberOf([] { addressFieldValue(""); }), 13);
  EXPECT_EQ(errorNumberOf([] { addressFieldValue("4G"); }), 13);
  EXPECT_EQ(errorNumberOf([] { addressFieldValue("8000"); }), 6);
  EXPECT_EQ(errorNumberOf([] { narrowToInt16(-32769, "test"); }), 6);
  EXPECT_EQ(narrowToInt16(-32768, "test"), -32768);
}

TEST(FieldValuesTest, ABadAddressFieldShowsItsBoxAndKeepsTheValue) {
  testing::FakeDesktop desktop;
  std::int16_t target = 0x42;
  EXPECT_FALSE(applyAddressField("", target, desktop, kAddressChangedTitle));
  EXPECT_EQ(target, 0x42);
  ASSERT_EQ(desktop.boxes.size(), 1u);
  EXPECT_EQ(desktop.boxes[0].text, "13: Type mismatch");
  EXPECT_EQ(desktop.boxes[0].title, "Address Changed");
  EXPECT_EQ(desktop.boxes[0].icon, MessageIcon::Exclamation);

  EXPECT_TRUE(applyAddressField("5", target, desktop, kAddressChangedTitle));
  EXPECT_EQ(target, 5);
  EXPECT_EQ(desktop.boxes.size(), 1u);
}

TEST(FieldValuesTest, ABadDelayShowsAnInformationBoxWithTheDefaultTitle) {
  testing::FakeDesktop desktop;
  double delay = 1.5;
  EXPECT_FALSE(applyCommandDelay("3", "x", delay, desktop));
  EXPECT_DOUBLE_EQ(delay, 1.5);
  ASSERT_EQ(desktop.boxes.size(), 1u);
  EXPECT_EQ(desktop.boxes[0].text, "13: Type mismatch");
  EXPECT_EQ(desktop.boxes[0].title, "");
  EXPECT_EQ(desktop.boxes[0].icon, MessageIcon::Information);

  EXPECT_TRUE(applyCommandDelay("3", "7", delay, desktop));
  EXPECT_DOUBLE_EQ(delay, 3.7);
}

}  // namespace
}  // namespace brelvion::windowlogic
