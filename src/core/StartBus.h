#pragma once

#include <cstdint>

#include "bus/BusMaster.h"
#include "trace/DebugLog.h"

namespace brelvion::core {

// Which port the user chose, and whether startBus has opened the bus on it yet.
struct PortSelection {
  std::int16_t portIndex = 0;
  std::int16_t busOpen = 0;
};

// Status reads of an acknowledge wait, as every caller of initPort passes it.
inline constexpr std::int16_t kAckTimeout = 10;

// Re-opens the bus on the chosen port: closes it if an earlier startBus opened it, opens
// and clears it with the debugger enabled, then disables the debugger and resets its options.
void startBus(bus::BusMaster& master, trace::DebugLog& log, PortSelection& selection);

}  // namespace brelvion::core
