#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <linux/i2c.h>

#include "port/i2cdev/I2cAdapterList.h"
#include "port/i2cdev/I2cFunctionality.h"
#include "support/FakeI2cDevSystemCalls.h"

namespace brelvion::port::i2cdev {
namespace {

using ::testing::ElementsAre;

TEST(I2cAdapterListTest, AdaptersFromSysfsWithTheirNamesAndWhetherTheirNodeIsThere) {
  testing::FakeI2cDevSystemCalls calls;
  calls.kernel.addAdapter(3, "CP2112 SMBus Bridge on hidraw0").devices[0x21];
  calls.kernel.addAdapter(0, "i915 gmbus dpb");
  // Without i2c-dev loaded for it: only /sys/bus/i2c/devices has it, and there is no node.
  calls.kernel.addAdapter(10, "SMBus stub driver").nodePresent = false;

  EXPECT_THAT(listI2cAdapters(calls),
              ElementsAre(I2cAdapterInfo{0, "i915 gmbus dpb", true},
                          I2cAdapterInfo{3, "CP2112 SMBus Bridge on hidraw0", true},
                          I2cAdapterInfo{10, "SMBus stub driver", false}));
  EXPECT_EQ(describeAdapter({3, "CP2112 SMBus Bridge on hidraw0", true}),
            "i2c-3, CP2112 SMBus Bridge on hidraw0");
  EXPECT_EQ(describeAdapter({7, "", true}), "i2c-7");
  EXPECT_EQ((I2cAdapterInfo{7, "", true}.devicePath()), "/dev/i2c-7");
  EXPECT_TRUE(listI2cAdapters(*std::make_unique<testing::FakeI2cDevSystemCalls>()).empty());
}

TEST(I2cAdapterListTest, OnlyAdapterEntriesCountAndNamesAreCleanedUp) {
  EXPECT_EQ(adapterNumberOfEntry("i2c-12"), 12u);
  for (const char* entry : {"3-0021", "i2c-", "i2c-012", "i2c-1x", "/dev/i2c-1", "i2c", "."}) {
    EXPECT_FALSE(adapterNumberOfEntry(entry)) << entry;
  }
  EXPECT_EQ(adapterNameOfFile("  CP2112 SMBus Bridge \n second line"), "CP2112 SMBus Bridge");
  EXPECT_EQ(adapterNameOfFile("bad\x1b[2J\tname\xC3\xA9\n"), "bad[2Jname");
  EXPECT_EQ(adapterNameOfFile("\n"), "");
  EXPECT_EQ(adapterNameOfFile(std::string(500, 'x')).size(), kLongestAdapterName);
  // Cut where only blanks follow: none are left at the end.
  EXPECT_EQ(adapterNameOfFile("name" + std::string(200, ' ') + "rest"), "name");
}

TEST(I2cAdapterListTest, FunctionalityInWordsNamesWhatTheToolUses) {
  EXPECT_EQ(functionalityText(I2C_FUNC_I2C | I2C_FUNC_SMBUS_EMUL),
            "I2C, SMBus quick, byte, byte data, I2C block");
  // What i2c-stub offers: SMBus only.
  EXPECT_EQ(functionalityText(I2C_FUNC_SMBUS_QUICK | I2C_FUNC_SMBUS_BYTE |
                              I2C_FUNC_SMBUS_BYTE_DATA | I2C_FUNC_SMBUS_WORD_DATA |
                              I2C_FUNC_SMBUS_BLOCK_DATA | I2C_FUNC_SMBUS_I2C_BLOCK),
            "SMBus quick, byte, byte data, I2C block");
  EXPECT_EQ(functionalityText(I2C_FUNC_SMBUS_READ_BYTE | I2C_FUNC_SMBUS_WRITE_BYTE_DATA),
            "SMBus read byte, write byte data");
  EXPECT_EQ(functionalityText(I2C_FUNC_I2C), "I2C");
  EXPECT_EQ(functionalityText(I2C_FUNC_10BIT_ADDR), "nothing the tool uses");
}

}  // namespace
}  // namespace brelvion::port::i2cdev
