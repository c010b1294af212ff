#include <gtest/gtest.h>

#include "ImportSupport.h"

namespace brelvion::scripts {
namespace {

using imports::expectRoundTrip;
using imports::problemTexts;
using imports::scriptText;

// An adapter batch as a vendor's tool saves it, written for these tests.
constexpr const char* kBatch = R"(<?xml version="1.0" encoding="UTF-8"?>
<aardvark>
  <configure i2c="1" spi="1" gpio="0" tpower="1" pullups="1" />
  <i2c_bitrate khz="400" />
  <!-- soft reset -->
  <i2c_write addr="0x10" count="3" radix="16">01 03 01</i2c_write>
  <sleep ms="10" />
  <I2C_WRITE count="2" radix="16" addr="0x10" nostop="1">00
     00</I2C_WRITE>
  <i2c_read addr="0x10" count="2" />
  <i2c_write addr="16" count="3" radix="10">1 0 1</i2c_write>
  <i2c_write addr="0x36" count="2" radix="2">00010010, 10000000</i2c_write>
</aardvark>
)";

TEST(XmlBatchTest, ElementsBecomeWritesReadsAndDelaysAndSettingsComments) {
  const ImportResult result = importText(Format::Xml, kBatch, "batch.xml", {});
  ASSERT_TRUE(result.ok()) << problemTexts(result.problems)[0];
  EXPECT_EQ(scriptText(result),
            "; adapter: configure i2c=1 spi=1 gpio=0 tpower=1 pullups=1\n"
            "; adapter: i2c_bitrate khz=400\n"
            "; soft reset\n"
            "device 20\n"
            "regbits 16\n"
            "write 0103 01\n"
            "delay 10\n"
            "read 0000 2\n"
            "write 0100 01\n"
            "device 6C\n"
            "regbits 8\n"
            "write 12 80\n");
  expectRoundTrip(Format::Xml, result, {});
}

TEST(XmlBatchTest, ReportsElementsItCannotConvertWithTheirLines) {
  const ImportResult result = importText(Format::Xml,
                                         "<aardvark>\n"
                                         "  <spi_write count=\"1\">00</spi_write>\n"
                                         "  <i2c_write addr=\"0x10\" count=\"3\">01 02</i2c_write>\n"
                                         "  <i2c_write addr=\"0x90\" count=\"1\">01</i2c_write>\n"
                                         "  <i2c_write addr=\"0x10\" count=\"2\" radix=\"16\">01 1G</i2c_write>\n"
                                         "  <i2c_write addr=\"0x10\" count=\"2\" radix=\"3\">01 02</i2c_write>\n"
                                         "  <sleep/>\n"
                                         "  stray text\n"
                                         "</aardvark>\n",
                                         "bad.xml", {});
  EXPECT_EQ(problemTexts(result.problems),
            (std::vector<std::string>{
                "bad.xml:2: <spi_write> is not an I2C write, read or sleep",
                "bad.xml:3: <i2c_write> has count 3 and 2 bytes",
                "bad.xml:4: <i2c_write> needs addr, a 7-bit address",
                "bad.xml:5: <i2c_write>: '1G' is not a byte in radix 16",
                "bad.xml:6: <i2c_write> radix must be 2, 8, 10 or 16",
                "bad.xml:7: <sleep> needs ms, 0 to an hour",
                "bad.xml:8: text outside the elements",
            }));

  const ImportResult broken = importText(Format::Xml, "<aardvark>\n<sleep ms=\"1\">\n", "cut.xml", {});
  EXPECT_TRUE(broken.failed);
  EXPECT_EQ(problemTexts(broken.problems),
            (std::vector<std::string>{"cut.xml:2: not XML: Start-end tags mismatch"}));
}

TEST(XmlBatchTest, ExportWritesABatchAndRefusesChecks) {
  const ExportResult exported = exportScript(
      Format::Xml, imports::scriptOf("device 20\nregbits 16\nwrite 0103 01 ; reset -- now\n"
                                     "delay 5\nread 0000 2\n"),
      "s.i2cs");
  ASSERT_TRUE(exported.ok());
  EXPECT_EQ(exported.text,
            "<?xml version=\"1.0\"?>\n"
            "<!-- s.i2cs as an I2C adapter batch (7-bit addresses) -->\n"
            "<aardvark>\n"
            "  <i2c_write addr=\"0x10\" count=\"3\" radix=\"16\">01 03 01</i2c_write>\n"
            "  <!-- reset - - now -->\n"
            "  <sleep ms=\"5\" />\n"
            "  <i2c_write addr=\"0x10\" count=\"2\" radix=\"16\" nostop=\"1\">00 00</i2c_write>\n"
            "  <i2c_read addr=\"0x10\" count=\"2\" />\n"
            "</aardvark>\n");
  const ExportResult refused =
      exportScript(Format::Xml, imports::scriptOf("device 20\npoll 10 01 01 5\n"), "s.i2cs");
  ASSERT_FALSE(refused.ok());
  EXPECT_EQ(refused.problem->text(), "s.i2cs:2: poll cannot be written in an adapter batch");
}

}  // namespace
}  // namespace brelvion::scripts
