#pragma once

#include <functional>
#include <string>

namespace brelvion::bench {

using Report = std::function<void(const char* what, double value, const char* unit,
                                  const std::string& goal, bool met)>;

// Reading and copying large command files, and a register dump with hardware timing.
void commandFileFigures(const Report& report);

}  // namespace brelvion::bench
