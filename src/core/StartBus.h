#pragma once

#include <cstdint>

#include "bus/BusMaster.h"
#include "trace/DebugLog.h"

namespace brelvion::core {

// Which port the user chose, and whether StartBus has opened the bus on it yet.
struct PortSelection {
  std::int16_t PortIndex = 0;
  std::int16_t BusOpen = 0;
};

// Status reads of an acknowledge wait, as every caller of InitPort passes it.
inline constexpr std::int16_t kAckTimeout = 10;

// Re-opens the bus on the chosen port: closes it if an earlier StartBus opened it, opens
// and clears it with the debugger enabled, then disables the debugger and resets its options.
void StartBus(bus::BusMaster& master, trace::DebugLog& log, PortSelection& selection);

}  // namespace brelvion::core
