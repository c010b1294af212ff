#pragma once

#include <functional>

#include "base/Clock.h"
#include "core/ToolCore.h"
#include "scripts/ScriptRunner.h"

namespace brelvion::commandfiles {

// What the window (or another caller) hears while a command file or a bring-up script is
// sent. Every member may be left empty.
struct SendHooks {
  // Before each write goes out: it is write `index` (from 1) of `total`.
  std::function<void(long long index, long long total)> progress;
  // After each write, with whether it was acknowledged.
  std::function<void(bool acknowledged)> updateDeviceMonitor;
  // Before updateDeviceMonitor, what the write (or a script's command) was and did.
  std::function<void(const scripts::CommandReport&)> reported;
  // Asked after each group's yield; true ends the send there.
  std::function<bool()> stopRequested;
  // The pauses' clock; the system's when null.
  base::Clock* clock = nullptr;
  // Pending events run at least every 50 ms of the pauses after the writes too, and a stop
  // asked for there ends the send at once: a window keeps answering through a long delay.
  bool yieldInPauses = false;
};

// The runner's hooks for a send on core: the progress, the report and the indicator after
// each write or command, the core's yield between transactions and the caller's stop.
scripts::RunHooks runHooksOf(core::ToolCore& core, const SendHooks& hooks);

}  // namespace brelvion::commandfiles
