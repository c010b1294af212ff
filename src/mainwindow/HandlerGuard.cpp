#include "mainwindow/HandlerGuard.h"

#include <exception>
#include <new>
#include <string>

namespace brelvion::mainwindow {

using platform::RuntimeError;

namespace {
constexpr int kOutOfMemory = 7;
constexpr int kInternalError = 51;
constexpr const char* kHandlerSource = "event handler";
}  // namespace

RuntimeError currentError() {
  try {
    throw;
  } catch (const RuntimeError& error) {
    return error;
  } catch (const std::bad_alloc&) {
    return RuntimeError(kOutOfMemory, kHandlerSource, "Out of memory");
  } catch (const std::exception& error) {
    return RuntimeError(kInternalError, kHandlerSource,
                        std::string("Internal error (") + error.what() + ")");
  } catch (...) {
    return RuntimeError(kInternalError, kHandlerSource, "Internal error");
  }
}

void runTrapped(platform::Desktop& desktop, const std::function<void()>& handler) {
  try {
    handler();
  } catch (...) {
    const RuntimeError error = currentError();
    try {
      desktop.messageBox(
          {error.boxText(), "", platform::MessageIcon::Critical, platform::MessageButtons::Ok});
    } catch (...) {
      // Nothing is left to tell the user with; the program still goes on.
    }
  }
}

bool runBusCommand(core::ToolCore& core, const std::function<void()>& command) {
  if (core.busBusy()) return false;
  core::ToolCore::BusCommand running(core);
  command();
  return true;
}

}  // namespace brelvion::mainwindow
