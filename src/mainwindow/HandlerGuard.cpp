#include "mainwindow/HandlerGuard.h"

namespace brelvion::mainwindow {

bool runBusCommand(core::ToolCore& core, const std::function<void()>& command) {
  if (core.busBusy()) return false;
  core::ToolCore::BusCommand running(core);
  command();
  return true;
}

}  // namespace brelvion::mainwindow
