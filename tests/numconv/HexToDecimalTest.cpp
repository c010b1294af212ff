#include <gtest/gtest.h>

#include "base/RuntimeError.h"
#include "numconv/HexToDecimal.h"

namespace brelvion::numconv {
namespace {

using base::RuntimeError;

TEST(HexToDecimalTest, ConvertsUpToEightDigitsOfEitherCase) {
  const std::vector<std::pair<std::string, std::int32_t>> cases{{"42", 66},
                                                                {" 1a ", 26},
                                                                {"ff", 255},
                                                                {"FF", 255},
                                                                {"0", 0},
                                                                {"00000000", 0},
                                                                {"7FFFFFFF", 2147483647},
                                                                {"0000ABCD", 43981},
                                                                {"  fFfFfFf", 0xFFFFFFF},
                                                                {"1234567", 0x1234567}};
  for (const auto& [text, value] : cases)
    EXPECT_EQ(hexToDecimal(text), value) << '"' << text << '"';
}

TEST(HexToDecimalTest, FailuresCarryTheirNumberAndTheModulesSource) {
  const std::vector<std::pair<std::string, int>> cases{
      {"80000000", 6}, {"FFFFFFFF", 6}, {"123456789", 6}, {"   000000000 ", 6}, {"", 13},
      {"    ", 13},    {"1 2", 13},     {"0x10", 13},     {"&H10", 13},         {"-1", 13},
      {"\t1", 13},     {"1\t", 13},     {"G", 13},        {"12345678\xE4", 6}};
  for (const auto& [text, number] : cases) {
    try {
      hexToDecimal(text);
      ADD_FAILURE() << '"' << text << "\" accepted";
    } catch (const RuntimeError& error) {
      EXPECT_EQ(error.number(), number) << '"' << text << '"';
      EXPECT_EQ(error.source(), "Hex To Decimal Number");
      EXPECT_EQ(error.description(), RuntimeError::standardDescription(number));
    }
  }
}

TEST(HexToDecimalTest, DigitValuesAcceptBothCasesOnly) {
  EXPECT_EQ(checkedHexDigit('0'), 0);
  EXPECT_EQ(checkedHexDigit('9'), 9);
  EXPECT_EQ(checkedHexDigit('a'), 10);
  EXPECT_EQ(checkedHexDigit('F'), 15);
  for (char ch : {'g', 'G', ' ', '/', ':', '@', '`', '\xC4', '\xFF'}) {
    EXPECT_THROW(checkedHexDigit(ch), RuntimeError) << static_cast<int>(ch);
  }
}

}  // namespace
}  // namespace brelvion::numconv
