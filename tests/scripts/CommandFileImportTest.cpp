#include <gtest/gtest.h>

#include <vector>

#include "ImportSupport.h"
#include "commandfiles/SendFixture.h"

namespace brelvion::scripts {
namespace {

using brelvion::testing::SendFixture;
using brelvion::testing::Write;
using imports::expectRoundTrip;
using imports::problemTexts;
using imports::scriptText;

std::vector<Write> scriptWrites(const Script& script) {
  std::vector<Write> writes;
  for (const Step& step : stepsOf(script)) {
    if (step.op == Op::Write) {
      writes.push_back({step.target.device, static_cast<int>(step.reg), static_cast<int>(step.value)});
    }
  }
  return writes;
}

ImportOptions skipping() {
  ImportOptions options;
  options.skipUnknown = true;
  return options;
}

TEST(CommandFileImportTest, ConvertsEveryWriteWithItsCommentsAndThePausesWhenAsked) {
  const std::string file =
      "; sensor defaults\r\n"
      "42 10 5A\r\n"
      "  43 11 22 ; the engine clears bit 0\r\n"
      "42,12,\t80\r\n";
  const ImportResult result = importText(Format::I2c, file, "defaults.i2c", {});
  ASSERT_TRUE(result.ok()) << problemTexts(result.problems)[0];
  EXPECT_EQ(scriptText(result),
            "; sensor defaults\n"
            "device 42\n"
            "write 10 5A\n"
            "write 11 22  ; the engine clears bit 0\n"
            "write 12 80\n");
  expectRoundTrip(Format::I2c, result, {});

  ImportOptions pauses;
  pauses.keepPauses = true;
  const ImportResult paused = importText(Format::I2c, "42 10 5A\n42 11 22\n", "p.i2c", pauses);
  EXPECT_EQ(scriptText(paused), "device 42\nwrite 10 5A\ndelay 100\nwrite 11 22\ndelay 100\n");
  expectRoundTrip(Format::I2c, paused, pauses);
}

TEST(CommandFileImportTest, ReportsWhatTheSenderReadsOtherwiseThanItLooks) {
  const ImportResult result = importText(Format::I2c,
                                         "0x42 0x10 0x20\n"
                                         "421 10\n"
                                         "42 10 20 ; fine\n"
                                         "42 10\n",
                                         "odd.i2c", {});
  EXPECT_FALSE(result.ok());
  EXPECT_EQ(problemTexts(result.problems),
            (std::vector<std::string>{
                "odd.i2c:1: not only hex values: the sender reads this line as the values 00 42 "
                "00 10 00 20 (a value is one or two hex digits, between blanks)",
                "odd.i2c:2: not only hex values: the sender reads this line as the values 42 01 "
                "10 (a value is one or two hex digits, between blanks)",
                "odd.i2c:4: 2 values at the end of the file make no write (three values a "
                "write): the sender sends nothing for them",
            }));
}

// Whatever a command file holds, the script says exactly the writes the sender sends.
TEST(CommandFileImportTest, TheScriptWritesWhatTheSenderSends) {
  const std::vector<std::string> files{
      "42 10 5A\r\n; comment\r\n  43 11 22 ; odd device\r\n",
      "0x42 0x10 0x20\n",
      "421 10 20 30\n",
      "42\n10\n20\n42 11\n21\n",
      "write 42 10 20\n",
      ";42 10 20\n  ;42 11 21\n42 12 22;43 13 23\n",
      "42,10,\t20\r42 A B\rC D E F\n",
      "42 10 5A\n42 10",
  };
  for (const std::string& file : files) {
    SendFixture fixture;
    fixture.send(file);
    const ImportResult result = importText(Format::I2c, file, "any.i2c", skipping());
    EXPECT_EQ(scriptWrites(result.script), fixture.writes) << file;
  }
}

TEST(CommandFileExportTest, WritesOnlyEightBitWritesAndTheShortDelaysThePauseHolds) {
  const ExportResult exported = exportScript(
      Format::I2c,
      imports::scriptOf("; defaults\ndevice 42\nwrite 10 5A ; gain\ndelay 60\ndelay 40\nwrite 11 22\n"),
      "s.i2cs");
  ASSERT_TRUE(exported.ok());
  EXPECT_EQ(exported.text, "; defaults\r\n42 10 5A ; gain\r\n42 11 22\r\n");

  const auto refused = [](const std::string& text) {
    const ExportResult result = exportScript(Format::I2c, imports::scriptOf(text), "s.i2cs");
    return result.ok() ? std::string("exported") : result.problem->text();
  };
  EXPECT_EQ(refused("device 42\nregbits 16\nwrite 0103 01\n"),
            "s.i2cs:3: 'write 0103 01' has regbits 16 and valbits 8; a .i2c file holds writes "
            "of 8-bit registers and values only");
  EXPECT_EQ(refused("device 42\nwrite 10 01\ndelay 60\ndelay 41\n"),
            "s.i2cs:4: delay 41 cannot be written in a .i2c file: its only pause is the 0.1 s "
            "after each write");
  EXPECT_EQ(refused("delay 1\n"),
            "s.i2cs:1: delay 1 cannot be written in a .i2c file: its only pause is the 0.1 s "
            "after each write");
  EXPECT_EQ(refused("device 42\nread 10 1\n"),
            "s.i2cs:2: read cannot be written in a .i2c file, which holds writes only");
  EXPECT_EQ(refused("device 42\nregbits 16\nregbits 8\nwrite 10 01\n"), "exported");
}

}  // namespace
}  // namespace brelvion::scripts
