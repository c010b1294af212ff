#include <gtest/gtest.h>

#include "i2c/DeviceAddress.h"

namespace brelvion::i2c {
namespace {

constexpr AddressForm k8 = AddressForm::EightBit;
constexpr AddressForm k7 = AddressForm::SevenBit;

TEST(DeviceAddressTest, BothFormsParseToTheSameDeviceAndReadBitsAreKept) {
  struct Case {
    const char* text;
    AddressForm form;
    std::uint8_t seven;
    bool readBit;
  };
  for (const Case& c :
       {Case{"42", k8, 0x21, false}, Case{"21", k7, 0x21, false}, Case{"43", k8, 0x21, true},
        Case{"fe", k8, 0x7F, false}, Case{"FF", k8, 0x7F, true}, Case{"7f", k7, 0x7F, false},
        Case{"0", k8, 0x00, false}, Case{"1", k8, 0x00, true}, Case{"A", k7, 0x0A, false}}) {
    const auto parsed = DeviceAddress::parse(c.text, c.form);
    ASSERT_TRUE(parsed) << c.text;
    EXPECT_EQ(parsed->device, DeviceAddress::fromSevenBit(c.seven)) << c.text;
    EXPECT_EQ(parsed->readBit, c.readBit) << c.text;
  }
  EXPECT_EQ(DeviceAddress::parse("43", k8)->byte(), 0x43);
  EXPECT_EQ(DeviceAddress::parse("42", k8)->byte(), 0x42);
}

TEST(DeviceAddressTest, AnythingButOneOrTwoHexDigitsInRangeIsNoAddress) {
  struct Case {
    const char* text;
    AddressForm form;
  };
  for (const Case& c : {Case{"", k8}, Case{"100", k8}, Case{"042", k8}, Case{"0x42", k8},
                        Case{" 42", k8}, Case{"42 ", k8}, Case{"4g", k8}, Case{"-1", k8},
                        Case{"80", k7}, Case{"FF", k7}, Case{"h", k7}}) {
    EXPECT_FALSE(DeviceAddress::parse(c.text, c.form)) << c.text;
  }
  EXPECT_FALSE(DeviceAddress::fromNumber(0x100, k8));
  EXPECT_FALSE(DeviceAddress::fromNumber(0x80, k7));
}

TEST(DeviceAddressTest, EachFormIsWrittenAsTwoUpperCaseDigitsAndTheBytesCarryTheDirection) {
  const DeviceAddress device = DeviceAddress::fromByte(0x35);
  EXPECT_EQ(device.sevenBit(), 0x1A);
  EXPECT_EQ(device.writeByte(), 0x34);
  EXPECT_EQ(device.readByte(), 0x35);
  EXPECT_EQ(device.byteFor(true), 0x35);
  EXPECT_EQ(device.text(k8), "34");
  EXPECT_EQ(device.text(k7), "1A");
  EXPECT_EQ(DeviceAddress::fromSevenBit(0x05).text(k7), "05");
  EXPECT_EQ(DeviceAddress::fromSevenBit(0x05).text(k8), "0A");
  // A number shown as given keeps its read bit in the 8-bit form only.
  EXPECT_EQ(ParsedAddress::fromByte(0x43).text(k8), "43");
  EXPECT_EQ(ParsedAddress::fromByte(0x43).text(k7), "21");
}

}  // namespace
}  // namespace brelvion::i2c
