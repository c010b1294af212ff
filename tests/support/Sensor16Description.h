#pragma once

#include <string>

namespace brelvion::registers {

// The description of the simulated 16-bit sensor, as shipped in data/; the register tests
// read it as a user's map.
inline const std::string kExample = std::string(BRELVION_DATA_DIR) + "/sim-sensor16.yaml";

}  // namespace brelvion::registers
