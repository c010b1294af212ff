#pragma once

#include <cstdint>
#include <vector>

namespace brelvion::bench {

struct StepFigures {
  double minimumUs = 0;
  double meanUs = 0;
  std::size_t steps = 0;
};

// Line-step times of register writes on a port that does nothing but keep the hardware
// timing: from each port write to the next write that follows a delay.
StepFigures measureHardwareSteps(int writes);

}  // namespace brelvion::bench
