#pragma once

#include <string>

namespace brelvion::port::i2cdev {

// What an adapter can do, from its I2C_FUNCS mask, in words: "I2C, SMBus quick, byte,
// byte data, I2C block read". Only what the tool's transfers use is named; "nothing the
// tool uses" when none of it is there.
std::string functionalityText(unsigned long functionality);

}  // namespace brelvion::port::i2cdev
