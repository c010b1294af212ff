#include "desktop/ErrorTrap.h"

#include <exception>
#include <new>

#include "base/RuntimeError.h"
#include "desktop/ErrorBox.h"

namespace brelvion::desktop {

namespace {

constexpr int kOutOfMemory = 7;
constexpr int kInternalError = 51;
constexpr const char* kHandlerSource = "event handler";

void showError(Desktop& desktop, const std::string& title, const base::RuntimeError& error) {
  // A failing box must not turn a reported error into an escaping one.
  try {
    showErrorBox(desktop, error, title, MessageIcon::Critical);
  } catch (...) {
  }
}

}  // namespace

base::RuntimeError currentError() {
  try {
    throw;
  } catch (const base::RuntimeError& error) {
    return error;
  } catch (const std::bad_alloc&) {
    return base::RuntimeError(kOutOfMemory, kHandlerSource, "Out of memory");
  } catch (const std::exception& error) {
    return base::RuntimeError(kInternalError, kHandlerSource,
                              std::string("Internal error: ") + error.what());
  } catch (...) {
    return base::RuntimeError(kInternalError, kHandlerSource, "Internal error");
  }
}

bool runHandler(Desktop& desktop, const std::string& title, const std::function<void()>& handler) {
  try {
    handler();
    return true;
  } catch (...) {
    showError(desktop, title, currentError());
  }
  return false;
}

}  // namespace brelvion::desktop
