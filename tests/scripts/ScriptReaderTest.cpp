#include <gtest/gtest.h>

#include <string>
#include <string_view>
#include <vector>

#include "base/RuntimeError.h"
#include "scripts/Formats.h"
#include "scripts/ScriptReader.h"
#include "scripts/ScriptWriter.h"

namespace brelvion::scripts {
namespace {

std::vector<std::string> problemTexts(const ReadResult& result) {
  std::vector<std::string> texts;
  for (const Problem& problem : result.problems) texts.push_back(problem.text());
  return texts;
}

// The problems of a script made of `lines`, after a device line (line 1).
std::vector<std::string> problemsAfterDevice(const std::string& lines) {
  return problemTexts(readScript("device 20\n" + lines, "bring-up.i2cs"));
}

TEST(ScriptReaderTest, ReadsEveryCommandWithTheSettingsInEffect) {
  const ReadResult result = readScript(
      "device 20            ; 8-bit write address\n"
      "regbits 16\n"
      "valbits 8\n"
      "write 0103 01        ; soft reset\n"
      "delay 10\n"
      "modify 0101 03 01\n"
      "poll 0018 80 80 100\n"
      "valbits 16\n"
      "expect 0000 0219\n"
      "read 0100 4\n",
      "bring-up.i2cs");
  ASSERT_TRUE(result.ok()) << problemTexts(result)[0];
  const std::vector<Step> steps = stepsOf(result.script);
  ASSERT_EQ(steps.size(), 6u);
  const Target bytes{0x20, {2, 1}};
  const Target words{0x20, {2, 2}};
  EXPECT_TRUE(steps[0].sameMeaning({Op::Write, bytes, 0x0103, 0x01, 0, 0, 0}));
  EXPECT_EQ(steps[0].line, 4u);
  EXPECT_TRUE(steps[1].sameMeaning({Op::Delay, bytes, 0, 0, 0, 10, 0}));
  EXPECT_TRUE(steps[2].sameMeaning({Op::Modify, bytes, 0x0101, 0x01, 0x03, 0, 0}));
  EXPECT_TRUE(steps[3].sameMeaning({Op::Poll, bytes, 0x0018, 0x80, 0x80, 100, 0}));
  EXPECT_TRUE(steps[4].sameMeaning({Op::Expect, words, 0x0000, 0x0219, 0, 0, 0}));
  EXPECT_TRUE(steps[5].sameMeaning({Op::Read, words, 0x0100, 0, 0, 4, 0}));
  EXPECT_EQ(result.script.statements[0].comment, "8-bit write address");
  EXPECT_EQ(result.script.statements[3].comment, "soft reset");
}

TEST(ScriptReaderTest, TakesAnyCaseOptionalHexPrefixesCommentsAndEveryLineEnd) {
  const ReadResult result = readScript(
      "; bring-up of the sensor\r\n"
      "\r\n"
      "  DEVICE 0x42\t; tabs and blanks\r"
      "Write 0X1a 0xFf\n"
      "\n"
      "   ;\n"
      "delay 0",
      "mixed.i2cs");
  ASSERT_TRUE(result.ok()) << problemTexts(result)[0];
  ASSERT_EQ(result.script.statements.size(), 5u);
  EXPECT_EQ(result.script.statements[0].op, Op::Comment);
  EXPECT_EQ(result.script.statements[0].comment, "bring-up of the sensor");
  EXPECT_EQ(result.script.statements[1].line, 3u);
  EXPECT_EQ(result.script.statements[1].value, 0x42u);
  EXPECT_EQ(result.script.statements[2].line, 4u);
  EXPECT_EQ(result.script.statements[2].reg, 0x1Au);
  EXPECT_EQ(result.script.statements[2].value, 0xFFu);
  EXPECT_EQ(result.script.statements[3].op, Op::Comment);
  EXPECT_EQ(result.script.statements[4].line, 7u);
}

TEST(ScriptReaderTest, ReportsEveryProblemWithItsFileAndLine) {
  EXPECT_EQ(problemTexts(readScript(
                "wrte 10 20\n"
                "device 20\n"
                "write 10\n"
                "write 10 20 30\n"
                "delay\n"
                "read 10 4 ; fine\n"
                "poll 10 80 80\n",
                "s.i2cs")),
            (std::vector<std::string>{
                "s.i2cs:1: unknown command 'wrte' (the commands: device, regbits, valbits, write, "
                "delay, modify, poll, expect, read)",
                "s.i2cs:3: write: missing VALUE (write REGISTER VALUE)",
                "s.i2cs:4: write: extra argument '30' (write REGISTER VALUE)",
                "s.i2cs:5: delay: missing MS (delay MS)",
                "s.i2cs:7: poll: missing MS (poll REGISTER MASK VALUE MS)",
            }));
}

TEST(ScriptReaderTest, ReportsNumbersThatAreNoneOrOutOfRange) {
  EXPECT_EQ(problemsAfterDevice("write 1G 00\n"
                                "delay 1.5\n"
                                "delay 0x10\n"
                                "read 10 0\n"
                                "read 10 32769\n"
                                "delay 3600001\n"
                                "poll 10 1 1 4000000\n"
                                "regbits 12\n"
                                "valbits 24\n"
                                "device 1FF\n"
                                "device 43\n"),
            (std::vector<std::string>{
                "bring-up.i2cs:2: write: REGISTER '1G' is not a hex number",
                "bring-up.i2cs:3: delay: MS '1.5' is not a decimal number",
                "bring-up.i2cs:4: delay: MS '0x10' is not a decimal number",
                "bring-up.i2cs:5: read: COUNT 0 is not 1 to 32768",
                "bring-up.i2cs:6: read: COUNT 32769 is not 1 to 32768",
                "bring-up.i2cs:7: delay: 3600001 ms is longer than an hour (3600000 ms)",
                "bring-up.i2cs:8: poll: 4000000 ms is longer than an hour (3600000 ms)",
                "bring-up.i2cs:9: regbits: 12 is not 8 or 16",
                "bring-up.i2cs:10: valbits: 24 is not 8, 16 or 32",
                "bring-up.i2cs:11: device: ADDRESS 1FF is not an 8-bit address",
                "bring-up.i2cs:12: device: 43 is a read address (bit 0 set); the write address is 42",
            }));
}

TEST(ScriptReaderTest, HoldsRegistersValuesAndMasksToTheWidthsInEffect) {
  EXPECT_EQ(problemsAfterDevice("write FF FF\n"
                                "write 100 00\n"
                                "write 00 100\n"
                                "modify 00 1FF 01\n"
                                "regbits 16\n"
                                "valbits 16\n"
                                "write FFFF FFFF\n"
                                "expect 10000 00\n"
                                "poll 00 10000 00 5\n"
                                "valbits 32\n"
                                "write 0000 FFFFFFFF\n"
                                "write 0000 100000000\n"
                                "write 0000 0000000000000000000000001\n"
                                "write 0000 99999999999999999999999999\n"),
            (std::vector<std::string>{
                "bring-up.i2cs:3: write: REGISTER 100 is too wide for regbits 8 (at most FF)",
                "bring-up.i2cs:4: write: VALUE 100 is too wide for valbits 8 (at most FF)",
                "bring-up.i2cs:5: modify: MASK 1FF is too wide for valbits 8 (at most FF)",
                "bring-up.i2cs:9: expect: REGISTER 10000 is too wide for regbits 16 (at most FFFF)",
                "bring-up.i2cs:10: poll: MASK 10000 is too wide for valbits 16 (at most FFFF)",
                "bring-up.i2cs:13: write: VALUE 100000000 is too wide for valbits 32 (at most "
                "FFFFFFFF)",
                "bring-up.i2cs:15: write: VALUE 99999999999999999999999999 is too wide for valbits "
                "32 (at most FFFFFFFF)",
            }));
}

TEST(ScriptReaderTest, ABusCommandBeforeAnyDeviceIsReportedOnceAndADelayNeedsNone) {
  const ReadResult result = readScript("delay 5\nwrite 10 20\nread 10 1\ndevice 42\nwrite 10 20\n",
                                       "early.i2cs");
  EXPECT_EQ(problemTexts(result),
            (std::vector<std::string>{
                "early.i2cs:2: write: no device line before the first bus command"}));
  // A failed width line leaves the width as it was.
  EXPECT_EQ(problemsAfterDevice("regbits 17\nwrite 0100 00\n"),
            (std::vector<std::string>{
                "bring-up.i2cs:2: regbits: 17 is not 8 or 16",
                "bring-up.i2cs:3: write: REGISTER 0100 is too wide for regbits 8 (at most FF)"}));
}

TEST(ScriptReaderTest, APollWhoseValueHasBitsOutsideItsMaskIsReported) {
  EXPECT_EQ(problemsAfterDevice("poll 10 F0 10 5\npoll 10 0F 10 5\n"),
            (std::vector<std::string>{"bring-up.i2cs:3: poll: VALUE 10 has bits outside MASK 0F, "
                                      "so the poll can never succeed"}));
}

TEST(ScriptReaderTest, ScriptsAreToldByTheirNameInAnyCaseOrByTheirFirstCommand) {
  const struct {
    std::string_view name;
    bool script;
  } names[] = {{"a.i2cs", true}, {"BRING.I2CS", true}, {"dir/x.I2cS", true},
               {".i2cs", false}, {"a.i2c", false},     {"a.i2cs.txt", false}};
  for (const auto& name : names) EXPECT_EQ(isScriptFileName(name.name), name.script) << name.name;

  const struct {
    std::string_view text;
    bool script;
  } texts[] = {{"; setup\n\n  \tDEVICE 20\n", true},
               {"\xEF\xBB\xBF"
                "device 20\n",
                true},
               {"42 12 80 ; device 20\n", false},
               {"; device 20\n", false},
               {"", false}};
  for (const auto& text : texts) {
    EXPECT_EQ(scriptStartOf(text.text).has_value(), text.script) << text.text;
  }
}

TEST(ScriptReaderTest, EveryTextReaderTakesAByteOrderMark) {
  const std::string bom = "\xEF\xBB\xBF";
  const ReadResult script = readScript(bom + "device 20\nwrite 10 20\n", "bom.i2cs");
  EXPECT_TRUE(script.ok()) << problemTexts(script)[0];
  ImportOptions options;
  options.device = 0x20;
  const struct {
    Format format;
    std::string text;
  } imports[] = {{Format::I2ctransfer, "i2ctransfer -y 1 w2@0x10 0x10 0x20\n"},
                 {Format::I2c, "20 10 20\n"},
                 {Format::C, "{0x10, 0x20},\n"},
                 {Format::Vcd,
                  "$timescale 1ns $end\n$var wire 1 ! scl $end\n$var wire 1 \" sda $end\n"
                  "$enddefinitions $end\n#0\n1!\n1\"\n"}};
  for (const auto& input : imports) {
    const ImportResult result = importText(input.format, bom + input.text, "bom", options);
    // A capture holds no transfer here: only the summary of its decoding.
    const std::size_t least = input.format == Format::Vcd ? 1 : 2;
    EXPECT_TRUE(result.ok() && result.script.statements.size() >= least)
        << formatName(input.format) << ": "
        << (result.problems.empty() ? "no command" : result.problems[0].text());
  }
}

TEST(ScriptReaderTest, ReadsAFileAndNamesAMissingOne) {
  try {
    readScriptFile("/no/such/folder/bring-up.i2cs");
    FAIL() << "read a missing file";
  } catch (const base::RuntimeError& error) {
    EXPECT_EQ(error.number(), base::RuntimeError::kFileNotFound);
    EXPECT_EQ(error.description(),
              "Cannot read /no/such/folder/bring-up.i2cs: No such file or directory");
  }
}

TEST(ScriptWriterTest, WritesEachCommandAsWideAsItsWidths) {
  Script script;
  script.statements = {Statement::note("bring-up"),   Statement::device(0x20),
                       Statement::regBits(16),        Statement::write(0x0103, 0x01),
                       Statement::delay(10),          Statement::modify(0x0101, 0x03, 0x01),
                       Statement::poll(0x18, 0x80, 0x80, 100), Statement::valBits(16),
                       Statement::expect(0, 0x219),   Statement::read(0x0100, 4)};
  script.statements[3].comment = "reset\nnow";
  EXPECT_EQ(writeScript(script),
            "; bring-up\n"
            "device 20\n"
            "regbits 16\n"
            "write 0103 01  ; reset now\n"
            "delay 10\n"
            "modify 0101 03 01\n"
            "poll 0018 80 80 100\n"
            "valbits 16\n"
            "expect 0000 0219\n"
            "read 0100 4\n");
  const ReadResult back = readScript(writeScript(script), "back.i2cs");
  ASSERT_TRUE(back.ok());
  EXPECT_TRUE(sameMeaning(back.script, script));
}

TEST(ScriptMeaningTest, SettingsWrittenTwiceOrCommentsChangeNothingButAValueDoes) {
  const auto read = [](const std::string& text) { return readScript(text, "m.i2cs").script; };
  const Script plain = read("device 20\nwrite 10 01\ndelay 5\n");
  EXPECT_TRUE(sameMeaning(plain, read("; x\ndevice 20\nregbits 8\ndevice 20\nwrite 0x10 1 ; y\n"
                                      "regbits 16\ndelay 5\n")));
  EXPECT_FALSE(sameMeaning(plain, read("device 20\nwrite 10 02\ndelay 5\n")));
  EXPECT_FALSE(sameMeaning(plain, read("device 22\nwrite 10 01\ndelay 5\n")));
  EXPECT_FALSE(sameMeaning(plain, read("device 20\nvalbits 16\nwrite 10 01\ndelay 5\n")));
  EXPECT_FALSE(sameMeaning(plain, read("device 20\nwrite 10 01\n")));
  // A run of delays waits their total, as a C table's one delay a row writes it.
  EXPECT_TRUE(sameMeaning(plain, read("device 20\nwrite 10 01\ndelay 2\ndelay 3\n")));
  EXPECT_FALSE(sameMeaning(plain, read("device 20\nwrite 10 01\ndelay 2\ndelay 4\n")));
}

}  // namespace
}  // namespace brelvion::scripts
