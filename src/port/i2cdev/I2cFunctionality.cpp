#include "port/i2cdev/I2cFunctionality.h"

#include <linux/i2c.h>

#include <array>
#include <vector>

namespace brelvion::port::i2cdev {

namespace {

struct SmbusWords {
  unsigned long readBit;
  unsigned long writeBit;
  // Said once when the adapter has both directions, else with "read " or "write " before it.
  const char* both;
};

const std::array<SmbusWords, 3> kSmbusCalls{{
    {I2C_FUNC_SMBUS_READ_BYTE, I2C_FUNC_SMBUS_WRITE_BYTE, "byte"},
    {I2C_FUNC_SMBUS_READ_BYTE_DATA, I2C_FUNC_SMBUS_WRITE_BYTE_DATA, "byte data"},
    {I2C_FUNC_SMBUS_READ_I2C_BLOCK, I2C_FUNC_SMBUS_WRITE_I2C_BLOCK, "I2C block"},
}};

}  // namespace

std::string functionalityText(unsigned long functionality) {
  std::vector<std::string> smbus;
  if ((functionality & I2C_FUNC_SMBUS_QUICK) != 0) smbus.emplace_back("quick");
  for (const SmbusWords& call : kSmbusCalls) {
    const bool reads = (functionality & call.readBit) != 0;
    const bool writes = (functionality & call.writeBit) != 0;
    if (reads && writes) {
      smbus.emplace_back(call.both);
    } else if (reads || writes) {
      smbus.push_back(std::string(reads ? "read " : "write ") + call.both);
    }
  }
  std::string text = (functionality & I2C_FUNC_I2C) != 0 ? "I2C" : "";
  if (!smbus.empty()) {
    if (!text.empty()) text += ", ";
    text += "SMBus";
    for (std::size_t i = 0; i < smbus.size(); ++i) text += (i == 0 ? " " : ", ") + smbus[i];
  }
  return text.empty() ? "nothing the tool uses" : text;
}

}  // namespace brelvion::port::i2cdev
