#include <gtest/gtest.h>

#include "SendFixture.h"
#include "commandfiles/InputFile.h"

namespace brelvion::commandfiles {
namespace {

using testing::SendFixture;
using testing::Write;

std::vector<Write> writesOf(const std::string& source) {
  SendFixture fixture;
  const SendOutcome outcome = fixture.send(source);
  EXPECT_EQ(outcome.end, SendEnd::Completed);
  EXPECT_TRUE(fixture.set.desktop.boxes.empty());
  return fixture.writes;
}

TEST(CommandFileFormatTest, LineBreaksAndSeparatorsCarryNoMeaning) {
  const std::vector<Write> one{{0x42, 0x12, 0x80}};
  EXPECT_EQ(writesOf("42 12 80\r\n"), one);
  EXPECT_EQ(writesOf("42\r\n12\r\n80\r\n"), one);
  EXPECT_EQ(writesOf("42,12,80"), one);
  EXPECT_EQ(writesOf("\t42\t12\t80\t"), one);
  EXPECT_EQ(writesOf("4\n2 1\n2 80"), (std::vector<Write>{{4, 2, 1}}))
      << "a line end splits a value written across it";
  EXPECT_EQ(writesOf("x=42 r:12 zz80"), one) << "letters G to Z are separators";
  EXPECT_EQ(writesOf("4a 1b cD\n"), (std::vector<Write>{{0x4A, 0x1B, 0xCD}}));
  // Three digits in a row: two, then the third starts the next value.
  EXPECT_EQ(writesOf("428012 1 2 300"), (std::vector<Write>{{0x42, 0x80, 0x12}, {0, 2, 0x30}}));
}

TEST(CommandFileFormatTest, CommentsNeverReachTheBus) {
  EXPECT_EQ(writesOf("; face cafe bead\r\n42 12 80 ; dead beef\r\n;ab cd ef\r\n"),
            (std::vector<Write>{{0x42, 0x12, 0x80}}));
  EXPECT_TRUE(writesOf("; only\r\n;comments\r\n").empty());
  EXPECT_TRUE(writesOf("").empty());
}

TEST(CommandFileFormatTest, AOneDigitValueEndsAtAnyByteThatIsNoHexDigit) {
  EXPECT_EQ(writesOf("   42 12 5 ; data\r\n"), (std::vector<Write>{{0x42, 0x12, 5}}));
  EXPECT_EQ(writesOf("43  1  5\r\n43  2  1A\n43 3 7\r43,4,8\t"),
            (std::vector<Write>{{0x42, 1, 5}, {0x42, 2, 0x1A}, {0x42, 3, 7}, {0x42, 4, 8}}));
  EXPECT_EQ(writesOf("42 12 5"), (std::vector<Write>{{0x42, 0x12, 5}})) << "end of file";
}

TEST(CommandFileFormatTest, OldMacAndUnixLineEndsEndCommentsToo) {
  EXPECT_EQ(writesOf("; a comment\r42 12 80\r; another\r43 13 81"),
            (std::vector<Write>{{0x42, 0x12, 0x80}, {0x42, 0x13, 0x81}}));
  EXPECT_EQ(writesOf("; a comment\n42 12 80\n; another\n43 13 81\n"),
            (std::vector<Write>{{0x42, 0x12, 0x80}, {0x42, 0x13, 0x81}}));
}

TEST(CommandFileFormatTest, BytesBeyondAsciiAreSeparators) {
  EXPECT_EQ(writesOf("\xC4\xE4 42\xFF 12 \xE9\xB5"
                     "8\xC9 ; caf\xC3\xA9\r\n"),
            (std::vector<Write>{{0x42, 0x12, 8}}));
  EXPECT_EQ(writesOf(std::string("42\0"
                                 "12\0"
                                 "80",
                                 8)),
            (std::vector<Write>{{0x42, 0x12, 0x80}}));
}

TEST(CommandFileFormatTest, TheCopyKeepsLinesWithoutLeadingBlanksAndComments) {
  SendFixture fixture;
  fixture.send("  42 12 5 ; c  \r\n;dropped\r\n   \r\n  ; only a comment\r\nab;x\n\tcd\rlast");
  EXPECT_EQ(fixture.tmpText(), "42 12 5 \r\n\r\n\r\nab\r\n\tcd\r\nlast\r\n");
}

TEST(CommandFileFormatTest, AGroupCutByTheEndLeavesMinusOneInTheMissingValues) {
  SendFixture fixture;
  const SendOutcome outcome = fixture.send("42 12 80 43 13");
  EXPECT_EQ(outcome.writes, 1);
  ASSERT_TRUE(outcome.lastGroup);
  const ReadGroup& values = *outcome.lastGroup;
  EXPECT_EQ(values.device, 0x43);
  EXPECT_EQ(values.subAddress, 0x13);
  EXPECT_EQ(values.data, -1);
  // The copy ends with CR LF: one more pass that finds no value at all.
  EXPECT_EQ(fixture.set.desktop.yields, 2);

  SendFixture separatorsOnly;
  const SendOutcome nothing = separatorsOnly.send("  \r\n");
  EXPECT_TRUE(separatorsOnly.writes.empty());
  EXPECT_EQ(nothing.lastGroup, (ReadGroup{-1, -1, -1}));
  EXPECT_EQ(separatorsOnly.set.desktop.yields, 1);
}

TEST(CommandFileFormatTest, ReadHexFieldOnARawFile) {
  testing::ScratchDirectory scratch;
  const std::string path = scratch.write("raw", "5,6\t7\r8\nF0ff xyz 1");
  InputFile file(path, "test");
  std::vector<int> values;
  for (int value = readHexField(file); value != -1; value = readHexField(file))
    values.push_back(value);
  EXPECT_EQ(values, (std::vector<int>{5, 6, 7, 8, 0xF0, 0xFF, 1}));
  EXPECT_EQ(readHexField(file), -1);
  EXPECT_EQ(countWrites(path), 2);
}

}  // namespace
}  // namespace brelvion::commandfiles
