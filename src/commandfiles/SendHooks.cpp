#include "commandfiles/SendHooks.h"

namespace brelvion::commandfiles {

scripts::RunHooks runHooksOf(core::ToolCore& core, const SendHooks& hooks) {
  scripts::RunHooks run;
  run.progress = [&hooks](std::size_t index, std::size_t total) {
    if (hooks.progress) {
      hooks.progress(static_cast<long long>(index), static_cast<long long>(total));
    }
  };
  run.reported = [&hooks](const scripts::CommandReport& report) {
    if (hooks.reported) hooks.reported(report);
    if (hooks.updateDeviceMonitor) {
      hooks.updateDeviceMonitor(report.result != scripts::CommandResult::NotAcknowledged);
    }
  };
  run.yield = [&core] { core.yieldBetweenTransactions(); };
  run.stopRequested = [&hooks] { return hooks.stopRequested && hooks.stopRequested(); };
  return run;
}

}  // namespace brelvion::commandfiles
