#pragma once

#include "CommandFileBench.h"

namespace brelvion::bench {

// Register maps on the simulated 16-bit sensor: reading a 1,000-register map in 10 runs
// against one register at a time (transactions and bus time), and putting the values of a
// 5,000-register read into the window's table, without Qt.
void registerMapFigures(const Report& report);

}  // namespace brelvion::bench
