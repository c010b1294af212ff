#pragma once

#include <cstdint>

namespace brelvion::commandfiles {

// The main window's device-address, register and data fields (Text2, Text3, Text4) as the
// bus commands use and leave them. The window holds them (the companion its own); Send
// Register writes from them, the dump reads its device from them, and a command-file send
// leaves the last group it read in them. A register read leaves deviceAddress with bit 0
// set, a write with it clear; a group cut off by the end of a command file leaves -1.
struct RegisterFields {
  std::int16_t deviceAddress = 0;
  std::int16_t subAddress = 0;
  std::int16_t writeData = 0;
};

}  // namespace brelvion::commandfiles
