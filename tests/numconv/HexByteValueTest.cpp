#include <gtest/gtest.h>

#include "numconv/HexByteValue.h"

namespace brelvion::numconv {
namespace {

TEST(HexByteValueTest, GivesAValueForEveryFieldText) {
  const std::vector<std::pair<std::string, std::int16_t>> cases{
      {"42", 66},  {"00", 0},  {"FF", 255}, {"ff", 255}, {" 5", 5},   {"5 ", 5},
      {"", 0},     {" ", 0},   {"  ", 0},   {"1A", 26},  {"A", 10},   {"123", 3},
      {"G0", 256}, {"0G", 16}, {"g", 16},   {"  7", 7},  {"   ", -23}};
  for (const auto& [text, value] : cases)
    EXPECT_EQ(hexByteValue(text), value) << '"' << text << '"';
}

TEST(HexByteValueTest, CharactersAboveAsciiCountAsUnsignedSingleBytes) {
  // Windows-1252 upper case of e-acute (0xE9) is 0xC9 = 201; 201 - 55 = 146.
  EXPECT_EQ(hexByteValue("\xE9"), 146);
  EXPECT_EQ(hexByteValue("1\xFF"), 16 + 0x9F - 55);
  EXPECT_EQ(hexByteValue("\xF7"), 0xF7 - 55);
}

}  // namespace
}  // namespace brelvion::numconv
