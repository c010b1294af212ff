#include <gtest/gtest.h>

#include "ImportSupport.h"

namespace brelvion::scripts {
namespace {

using imports::expectRoundTrip;
using imports::problemTexts;
using imports::scriptText;

// A colleague's bring-up as a shell script, written for these tests.
constexpr const char* kShellScript = R"(#!/bin/sh
# sensor at 7-bit 10h on bus 1
i2ctransfer -y 1 w3@0x10 0x01 0x03 0x01   # soft reset
sleep 0.01
sudo /usr/sbin/i2ctransfer -f -y 1 w2@0x10 0x00 0x00 r2
I2CTRANSFER -y 1 w3@0x10 0x01 0x00 0x01
i2ctransfer -yf i2c-1 W4@10 0x30 0x10 0x12 0x34
usleep 1500

i2ctransfer -y 1 w3@0x10 0x01 0x00 0x00 w3@0x10 0x01 0x00 1
)";

TEST(I2cTransferTest, LinesBecomeWritesReadsAndDelaysWithTheirWidthsFromTheLengths) {
  ImportOptions skipping;
  skipping.skipUnknown = true;
  const ImportResult result = importText(Format::I2ctransfer, kShellScript, "bringup.sh", skipping);
  EXPECT_EQ(problemTexts(result.problems),
            (std::vector<std::string>{
                "bringup.sh:6: 'I2CTRANSFER' is not an i2ctransfer, sleep or usleep line",
            }));
  // The read's two bytes are two registers of the device's 8-bit values so far.
  EXPECT_EQ(scriptText(result),
            "; sensor at 7-bit 10h on bus 1\n"
            "device 20\n"
            "regbits 16\n"
            "write 0103 01  ; soft reset\n"
            "delay 10\n"
            "read 0000 2\n"
            "valbits 16\n"
            "write 3010 1234\n"
            "delay 2\n"
            "valbits 8\n"
            "write 0100 00\n"
            "write 0100 01\n");
  expectRoundTrip(Format::I2ctransfer, result, skipping);
}

TEST(I2cTransferTest, WidthsFromTheOptionsMustFitEveryMessage) {
  ImportOptions options;
  options.addressBytes = 2;
  options.valueBytes = 1;
  const ImportResult result = importText(
      Format::I2ctransfer,
      "i2ctransfer -y 1 w3@0x10 0x01 0x00 0x01\n"
      "i2ctransfer -y 1 w4@0x10 0x01 0x00 0x01 0x02\n"
      "i2ctransfer -y 1 w2@0x10 0x00 0x00 r3\n"
      "i2ctransfer -y 1 w1@0x10 0x00 r1\n",
      "fixed.sh", options);
  EXPECT_EQ(problemTexts(result.problems),
            (std::vector<std::string>{
                "fixed.sh:2: a write of 4 bytes to 20 is not one register and one value of the "
                "widths given",
                "fixed.sh:4: a write of one byte to 20 (a register with no value and no read after "
                "it) cannot be a script command",
                "fixed.sh:4: a read of 1 byte from 20 without a register written before it "
                "cannot be a script command",
            }));
  EXPECT_EQ(scriptText(result), "device 20\nregbits 16\nwrite 0100 01\nread 0000 3\n");
}

TEST(I2cTransferTest, AWaitBetweenARegisterAndItsReadGoesBeforeTheRead) {
  const ImportResult result = importText(Format::I2ctransfer,
                                         "i2ctransfer -y 1 w2@0x10 0x00 0x18\n"
                                         "sleep 0.002 # let it settle\n"
                                         "i2ctransfer -y 1 r1@0x10\n"
                                         "i2ctransfer -y 1 w1@0x10 0x18\n"
                                         "sleep 1\n",
                                         "wait.sh", {});
  EXPECT_EQ(problemTexts(result.problems),
            (std::vector<std::string>{
                "wait.sh:4: a write of one byte to 20 (a register with no value and no read after "
                "it) cannot be a script command"}));
  EXPECT_EQ(scriptText(result), "delay 2  ; let it settle\ndevice 20\nregbits 16\nread 0018 1\ndelay 1000\n");
}

TEST(I2cTransferTest, FillsDataSuffixesAndReportsWhatItCannotRead) {
  const ImportResult filled =
      importText(Format::I2ctransfer, "i2ctransfer -y 0 w5@0x50 0x00 0x10+\n", "fill.sh", {});
  EXPECT_EQ(scriptText(filled), "device A0\nvalbits 32\nwrite 00 10111213\n");

  const ImportResult result = importText(Format::I2ctransfer,
                                         "i2ctransfer -y 1 w3@0x10 0x01 0x00\n"
                                         "i2ctransfer -y 1 w2@0x80 0x01 0x00\n"
                                         "i2ctransfer -y 1 w2@0x10 0x01 0x1FF\n"
                                         "i2ctransfer -V\n"
                                         "i2ctransfer -y 1 r1\n"
                                         "i2ctransfer -y 1 x1@0x10\n"
                                         "i2ctransfer -y 1 w3@0x10 0x01 0x00 0x10p\n"
                                         "sleep soon\n"
                                         "i2ctransfer -y 1 w0@0x10\n",
                                         "bad.sh", {});
  EXPECT_EQ(problemTexts(result.problems),
            (std::vector<std::string>{
                "bad.sh:1: a write of 3 bytes with 2 given",
                "bad.sh:2: '0x80' is not a 7-bit address",
                "bad.sh:3: '0x1FF' is not a data byte",
                "bad.sh:4: i2ctransfer option -V makes no transfer",
                "bad.sh:5: 'r1' names no address, and no message before it did",
                "bad.sh:6: 'x1@0x10' is not a message (r or w, a length, @ and an address)",
                "bad.sh:7: '0x10p' is not a data byte this tool can repeat (p)",
                "bad.sh:8: 'soon' is not a time",
                "bad.sh:9: the address 20 alone, with no register, cannot be a script command",
            }));
  EXPECT_TRUE(result.script.statements.empty());
}

TEST(I2cTransferTest, ExportWritesLinesThatImportBackToTheSameCommands) {
  const Script script = imports::scriptOf(
      "; bring-up\ndevice 20\nregbits 16\nwrite 0103 01 ; reset\ndelay 1005\nvalbits 16\n"
      "read 0000 2\ndevice 6C\nregbits 8\nvalbits 8\nwrite 12 80\n");
  ExportOptions options;
  options.i2cBus = 3;
  options.repeatedStartReads = true;
  const ExportResult exported = exportScript(Format::I2ctransfer, script, "s.i2cs", options);
  ASSERT_TRUE(exported.ok());
  EXPECT_EQ(exported.text,
            "#!/bin/sh\n"
            "# s.i2cs as i2c-tools lines (7-bit addresses)\n"
            "# bring-up\n"
            "i2ctransfer -y 3 w3@0x10 0x01 0x03 0x01 # reset\n"
            "sleep 1.005\n"
            "i2ctransfer -y 3 w2@0x10 0x00 0x00 r4\n"
            "i2ctransfer -y 3 w2@0x36 0x12 0x80\n");
  // Read back without widths, the read of four bytes is four registers of the 8-bit values
  // the device's write had; the same bytes on the wire. With the widths given, it is two.
  const ImportResult back = importText(Format::I2ctransfer, exported.text, "back.sh", {});
  ASSERT_TRUE(back.ok()) << problemTexts(back.problems)[0];
  EXPECT_EQ(scriptText(back),
            "; s.i2cs as i2c-tools lines (7-bit addresses)\n"
            "; bring-up\n"
            "device 20\n"
            "regbits 16\n"
            "write 0103 01  ; reset\n"
            "delay 1005\n"
            "read 0000 4\n"
            "device 6C\n"
            "regbits 8\n"
            "write 12 80\n");
  ImportOptions sixteen;
  sixteen.addressBytes = 2;
  sixteen.valueBytes = 2;
  const ImportResult wide = importText(
      Format::I2ctransfer, exported.text.substr(0, exported.text.find("i2ctransfer -y 3 w2@0x36")),
      "back.sh", sixteen);
  EXPECT_EQ(problemTexts(wide.problems),
            (std::vector<std::string>{
                "back.sh:4: a write of 3 bytes to 20 is not one register and one value of the "
                "widths given"}));
  EXPECT_NE(scriptText(wide).find("valbits 16\nread 0000 2\n"), std::string::npos);

  const ExportResult refused = exportScript(
      Format::I2ctransfer, imports::scriptOf("device 20\nexpect 10 01\n"), "s.i2cs");
  ASSERT_FALSE(refused.ok());
  EXPECT_EQ(refused.problem->text(), "s.i2cs:2: expect cannot be written as i2ctransfer lines");
}

TEST(I2cTransferTest, AReadIsExportedAsTwoTransfersUnlessRepeatedStartIsAsked) {
  const Script script = imports::scriptOf("device 20\nregbits 16\nread 0010 2 ; id\n");
  const ExportResult apart = exportScript(Format::I2ctransfer, script, "s.i2cs");
  ASSERT_TRUE(apart.ok());
  EXPECT_NE(apart.text.find("i2ctransfer -y 1 w2@0x10 0x00 0x10\n"
                            "i2ctransfer -y 1 r2@0x10 # id\n"),
            std::string::npos)
      << apart.text;
  const ImportResult back = importText(Format::I2ctransfer, apart.text, "back.sh", {});
  EXPECT_NE(scriptText(back).find("read 0010 2  ; id\n"), std::string::npos) << scriptText(back);
}

TEST(I2cTransferTest, LinesForAnotherBusAreReportedNotMerged) {
  const ImportResult result = importText(Format::I2ctransfer,
                                         "i2ctransfer -y 1 w2@0x10 0x01 0x02\n"
                                         "i2ctransfer -y 2 w2@0x10 0x03 0x04\n",
                                         "two.sh", {});
  EXPECT_EQ(
      problemTexts(result.problems),
      (std::vector<std::string>{
          "two.sh:2: a transfer on bus 2 after transfers on bus 1: a script runs on one bus"}));
}

}  // namespace
}  // namespace brelvion::scripts
