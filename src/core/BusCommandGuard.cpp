#include "core/BusCommandGuard.h"

namespace brelvion::core {

bool runBusCommand(core::ToolCore& core, const std::function<void()>& command) {
  if (core.busBusy()) return false;
  core::ToolCore::BusCommand running(core);
  command();
  return true;
}

}  // namespace brelvion::core
