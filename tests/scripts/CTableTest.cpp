#include <gtest/gtest.h>

#include "ImportSupport.h"

namespace brelvion::scripts {
namespace {

using imports::expectRoundTrip;
using imports::problemTexts;
using imports::readsBack;
using imports::scriptText;

ImportOptions atDevice(std::uint8_t device) {
  ImportOptions options;
  options.device = device;
  return options;
}

// Written for these tests in the shapes sensor drivers use; no real part's registers.
constexpr const char* kCciTable = R"(// SPDX-License-Identifier: GPL-2.0
/*
 * Mode 1920x1080, two lanes
 */
static const struct cci_reg_sequence sensor_1080p_regs[] = {
	{ CCI_REG8(0x0100), 0x00 },	/* standby */
	{ CCI_REG16(0x0340), 0x0465 },
	{CCI_REG8(0x0114),0x01},   // lanes - 1
  {  cci_reg16_le( 0x3000 ) ,  0x1234  } ,
	{ .reg = CCI_REG32(0x3010), .val = 0x00010002 },
};
)";

TEST(CTableTest, CciRowsTakeTheValueWidthFromTheMacro) {
  const ImportResult result = importText(Format::C, kCciTable, "sensor.c", atDevice(0x20));
  ASSERT_TRUE(result.ok()) << problemTexts(result.problems)[0];
  EXPECT_EQ(scriptText(result),
            "; SPDX-License-Identifier: GPL-2.0\n"
            "; Mode 1920x1080, two lanes\n"
            "; table sensor_1080p_regs\n"
            "device 20\n"
            "regbits 16\n"
            "write 0100 00  ; standby\n"
            "valbits 16\n"
            "write 0340 0465\n"
            "valbits 8\n"
            "write 0114 01  ; lanes - 1\n"
            "valbits 16\n"
            "write 3000 3412\n"
            "valbits 32\n"
            "write 3010 00010002\n");
  EXPECT_TRUE(readsBack(result));
  expectRoundTrip(Format::C, result, atDevice(0x20));
}

constexpr const char* kPlainTable = R"(static const struct regval sensor_init_regs[] = {
	{0x0103, 0x01},
	{REG_DELAY, 10},			/* after the reset */
	{0x3034, 0x18}, {0x3035, 0x21},
	{0X0100, 0X01},
	{SENSOR_TABLE_WAIT_US, 1500},
	{REG_NULL, 0x00},
};
)";

TEST(CTableTest, PlainRowsTakeTheirWidthsFromTheLiteralsAndKeepDelayAndEndMarkers) {
  const ImportResult result = importText(Format::C, kPlainTable, "init.c", atDevice(0x6C));
  ASSERT_TRUE(result.ok()) << problemTexts(result.problems)[0];
  EXPECT_EQ(scriptText(result),
            "; table sensor_init_regs\n"
            "device 6C\n"
            "regbits 16\n"
            "write 0103 01\n"
            "delay 10  ; after the reset\n"
            "write 3034 18\n"
            "write 3035 21\n"
            "write 0100 01\n"
            "delay 2\n"
            "; end of table (REG_NULL)\n");
  expectRoundTrip(Format::C, result, atDevice(0x6C));
}

constexpr const char* kMaskTable = R"(static const struct reg_value sensor_30fps[] = {
	/* reg, val, mask, delay_ms */
	{0x3008, 0x42, 0, 0}, {0x3103, 0x03, 0, 5},
	{0x3820, 0x46, 0x06, 0},
	{ 0x30, 0x01, 1000 },	/* regmap: delay in us */
};
)";

TEST(CTableTest, MaskRowsModifyAndDelayRowsWait) {
  const ImportResult result = importText(Format::C, kMaskTable, "30fps.c", atDevice(0x78));
  ASSERT_TRUE(result.ok()) << problemTexts(result.problems)[0];
  EXPECT_EQ(scriptText(result),
            "; table sensor_30fps\n"
            "; reg, val, mask, delay_ms\n"
            "device 78\n"
            "regbits 16\n"
            "write 3008 42\n"
            "write 3103 03\n"
            "delay 5\n"
            "modify 3820 06 46\n"
            "write 0030 01  ; regmap: delay in us\n"
            "delay 1\n");
  expectRoundTrip(Format::C, result, atDevice(0x78));
}

TEST(CTableTest, TheOptionsGiveWidthsATableDoesNot) {
  ImportOptions options = atDevice(0x20);
  options.addressBytes = 2;
  options.valueBytes = 2;
  const ImportResult result =
      importText(Format::C, "{0x30, 0x01},\n{0x31, 0x1FFFF},\n", "short.c", options);
  EXPECT_EQ(problemTexts(result.problems),
            (std::vector<std::string>{"short.c:2: value 1FFFFh is too wide for 16 bits"}));
  EXPECT_EQ(scriptText(result), "device 20\nregbits 16\nvalbits 16\nwrite 0030 0001\n");
}

TEST(CTableTest, AZeroDelayIsSaidNotRun) {
  const ImportResult result =
      importText(Format::C, "{0x10, 0x01},\n{REG_DELAY, 0},\n", "zero.c", atDevice(0x20));
  EXPECT_EQ(scriptText(result), "device 20\nwrite 10 01\n; REG_DELAY of 0 ms: no wait\n");
  expectRoundTrip(Format::C, result, atDevice(0x20));
}

TEST(CTableTest, ReportsEveryLineItCannotConvertAndGoesOnWhenAsked) {
  const std::string source =
      "#include <linux/i2c.h>\n"
      "static const struct regval broken[] = {\n"
      "\t{0x10, 0x01},\n"
      "\tsensor_write(client, 0x10, 0x01);\n"
      "\t{SOME_FLAG, 0x01},\n"
      "\t{0x10, 0x01, 0x02, 0x03, 0x04},\n"
      "\t{CCI_REG24(0x0100), 0x000001},\n"
      "\t{0x10, gain},\n"
      "\t{0x11, 0x02\n"
      "};\n";
  ImportOptions options = atDevice(0x20);
  const ImportResult strict = importText(Format::C, source, "broken.c", options);
  EXPECT_FALSE(strict.ok());
  EXPECT_EQ(problemTexts(strict.problems),
            (std::vector<std::string>{
                "broken.c:1: a preprocessor line is not a row of a register table",
                "broken.c:4: 'sensor_write(client, 0x10, 0x01);' is not a row of a register table",
                "broken.c:5: 'SOME_FLAG' is neither a register nor a delay or end marker",
                "broken.c:6: a row of 5 fields is none of {reg, val}, {reg, val, delay_us} and "
                "{reg, val, mask, delay_ms}",
                "broken.c:7: CCI_REG24: values of that width are none of 8, 16 and 32 bits",
                "broken.c:8: 'gain' where a number belongs",
                "broken.c:9: a row that does not end on its line",
            }));
  options.skipUnknown = true;
  const ImportResult skipping = importText(Format::C, source, "broken.c", options);
  EXPECT_TRUE(skipping.ok());
  EXPECT_EQ(skipping.problems.size(), 7u);
  EXPECT_EQ(scriptText(skipping), "; table broken\ndevice 20\nwrite 10 01\n");
}

TEST(CTableTest, OnlyTheWholeNamesDriversGiveMarkersAreMarkers) {
  ImportOptions options = atDevice(0x20);
  options.skipUnknown = true;
  const ImportResult result = importText(Format::C,
                                         "{ SIM16_REG_X_ADDR_END, 0x077F },\n"
                                         "{ SIM16_REG_HS_DELAY, 0x20 },\n"
                                         "{ OV5693_TABLE_WAIT_MS, 3 },\n"
                                         "{ REG_DELAY_US, 1500 },\n"
                                         "{ 0x10, 0x01 },\n"
                                         "{ OV5693_TABLE_END, 0x00 },\n",
                                         "markers.c", options);
  EXPECT_EQ(problemTexts(result.problems),
            (std::vector<std::string>{
                "markers.c:1: 'SIM16_REG_X_ADDR_END' is neither a register nor a delay or end "
                "marker",
                "markers.c:2: 'SIM16_REG_HS_DELAY' is neither a register nor a delay or end "
                "marker"}));
  EXPECT_EQ(scriptText(result),
            "delay 3\ndelay 2\ndevice 20\nwrite 10 01\n; end of table (OV5693_TABLE_END)\n");
}

TEST(CTableTest, ATableWhoseValueLiteralsDisagreeIsReportedNotWidened) {
  const std::string mode =
      "static const struct regval mode[] = {\n"
      "\t{0x0340, 0x0460},\n"
      "\t{0x0204, 0x02}, {0x0205, 0x00},\n"
      "\t{0x0206, 10},\n"
      "};\n"
      "static const struct regval other[] = {\n"
      "\t{0x0340, 0x0465},\n"
      "};\n";
  ImportOptions options = atDevice(0x20);
  options.skipUnknown = true;
  const ImportResult reported = importText(Format::C, mode, "mode.c", options);
  EXPECT_EQ(problemTexts(reported.problems),
            (std::vector<std::string>{"mode.c:2: the value 0x0460 is 16 bits where 2 other rows "
                                      "of its table have 8: --value-bits says which width the "
                                      "table writes"}));
  EXPECT_EQ(scriptText(reported),
            "; table mode\ndevice 20\nregbits 16\nwrite 0204 02\nwrite 0205 00\n"
            "write 0206 0A\n; table other\nvalbits 16\nwrite 0340 0465\n");
  options.valueBytes = 2;
  const ImportResult settled = importText(Format::C, mode, "mode.c", options);
  EXPECT_TRUE(settled.problems.empty()) << problemTexts(settled.problems)[0];
  EXPECT_NE(scriptText(settled).find("write 0204 0002"), std::string::npos);
}

TEST(CTableTest, ALittleEndianMaskedRowSwapsItsMaskAsItsValue) {
  const ImportResult result =
      importText(Format::C, "{CCI_REG16_LE(0x3000), 0x1234, 0x00FF, 0},\n", "le.c", atDevice(0x20));
  ASSERT_TRUE(result.ok()) << problemTexts(result.problems)[0];
  EXPECT_EQ(scriptText(result), "device 20\nregbits 16\nvalbits 16\nmodify 3000 FF00 3412\n");
}

TEST(CTableTest, ATableWithoutADeviceNeedsOneFromTheOptions) {
  ImportOptions options;
  options.skipUnknown = true;
  const ImportResult result = importText(Format::C, kPlainTable, "init.c", options);
  EXPECT_TRUE(result.failed);
  EXPECT_FALSE(result.ok());
  EXPECT_EQ(problemTexts(result.problems),
            (std::vector<std::string>{
                "init.c: a C table names no device: give its 8-bit write address (--device)"}));
}

TEST(CTableTest, OptionsThatNoScriptCanHoldFailTheImport) {
  ImportOptions options = atDevice(0x21);
  EXPECT_EQ(problemTexts(importText(Format::C, kPlainTable, "init.c", options).problems),
            (std::vector<std::string>{
                "init.c: the device 21 is a read address; the 8-bit write address is 20"}));
  options = atDevice(0x20);
  options.valueBytes = 3;
  const ImportResult wide = importText(Format::C, kPlainTable, "init.c", options);
  EXPECT_TRUE(wide.failed);
  EXPECT_EQ(problemTexts(wide.problems),
            (std::vector<std::string>{"init.c: value widths are 8, 16 or 32 bits, not 24"}));
}

TEST(CTableExportTest, WritesRowsOfTheFormTheScriptNeedsAndRefusesWhatNoTableHolds) {
  const Script script = imports::scriptOf(
      "device 20\nregbits 16\nwrite 0103 01 ; reset\ndelay 10\nmodify 3820 06 46\n");
  const ExportResult table = exportScript(Format::C, script, "dir/my-sensor.i2cs");
  ASSERT_TRUE(table.ok());
  EXPECT_EQ(table.text,
            "/* dir/my-sensor.i2cs for the device at 20 (7-bit 10), 16-bit registers; rows "
            "{reg, val, mask (0: write), delay_ms} */\n"
            "static const struct reg_value my_sensor_regs[] = {\n"
            "\t{ 0x0103, 0x01, 0x00, 10 }, /* reset */\n"
            "\t{ 0x3820, 0x46, 0x06, 0 },\n"
            "};\n");

  const auto refused = [](const std::string& text) {
    const ExportResult result = exportScript(Format::C, imports::scriptOf(text), "s.i2cs");
    return result.ok() ? std::string("exported") : result.problem->text();
  };
  EXPECT_EQ(refused("device 20\nwrite 10 01\npoll 10 01 01 5\n"),
            "s.i2cs:3: poll cannot be written in a C register table");
  EXPECT_EQ(refused("device 20\nwrite 10 01\ndevice 30\nwrite 10 01\n"),
            "s.i2cs:4: device 30 after device 20: a C table holds the registers of one device");
  EXPECT_EQ(refused("device 20\nwrite 10 01\nregbits 16\nwrite 0010 01\n"),
            "s.i2cs:4: registers of 16 bits after 8: a C table holds registers of one width");
  EXPECT_EQ(refused("delay 5\ndevice 20\nwrite 10 01\n"),
            "s.i2cs:1: a delay before the first write cannot be written in a C table, where a "
            "delay follows a row");
  EXPECT_EQ(refused("device 20\nmodify 10 00 01\n"),
            "s.i2cs:2: modify with mask 0 cannot be written in a C table, where mask 0 is a "
            "plain write");
}

}  // namespace
}  // namespace brelvion::scripts
