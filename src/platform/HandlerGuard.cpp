#include "platform/HandlerGuard.h"

#include <exception>
#include <new>

#include "platform/RuntimeError.h"

namespace brelvion::platform {

namespace {

constexpr int kOutOfMemory = 7;
constexpr int kInternalError = 51;

void showError(Desktop& desktop, const std::string& title, const std::string& text) {
  // A failing box must not turn a reported error into an escaping one.
  try {
    desktop.messageBox({text, title, MessageIcon::Critical, MessageButtons::Ok});
  } catch (...) {
  }
}

}  // namespace

bool runHandler(Desktop& desktop, const std::string& title, const std::function<void()>& handler) {
  try {
    handler();
    return true;
  } catch (const RuntimeError& error) {
    showError(desktop, title, error.boxText());
  } catch (const std::bad_alloc&) {
    showError(desktop, title, std::to_string(kOutOfMemory) + ": Out of memory");
  } catch (const std::exception& error) {
    showError(desktop, title, std::to_string(kInternalError) + ": Internal error: " + error.what());
  } catch (...) {
    showError(desktop, title, std::to_string(kInternalError) + ": Internal error");
  }
  return false;
}

}  // namespace brelvion::platform
