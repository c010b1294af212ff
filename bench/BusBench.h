#pragma once

#include "CommandFileBench.h"

namespace brelvion::bench {

// The buses beside the parallel port: a register dump on an i2c-dev adapter (driver calls
// counted on the tests' fake kernel) and a scan of the simulated bus in bus time.
void busFigures(const Report& report);

}  // namespace brelvion::bench
