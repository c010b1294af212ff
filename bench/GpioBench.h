#pragma once

#include "CommandFileBench.h"

namespace brelvion::bench {

// The engine on GPIO lines through the fake GPIO kernel, wired to a simulated sensor: line
// steps with real timing at the default step, and the engine's cost over a bare loop of
// the same line sets.
void gpioFigures(const Report& report);

}  // namespace brelvion::bench
