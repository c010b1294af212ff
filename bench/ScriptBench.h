#pragma once

#include "CommandFileBench.h"

namespace brelvion::bench {

// Reading and checking a large bring-up script, and importing a large bus capture.
void scriptFigures(const Report& report);

}  // namespace brelvion::bench
