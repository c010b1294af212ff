#pragma once

#include <functional>
#include <string>

#include "platform/Desktop.h"

namespace brelvion::platform {

// Runs a window's event handler so that no error escapes into the event loop: a numbered
// run-time error shows "number: description" in a box titled title (empty: the program's
// name), anything else shows as an internal error, and the program goes on with whatever
// state the handler reached. True when the handler ran to its end.
bool runHandler(Desktop& desktop, const std::string& title, const std::function<void()>& handler);

}  // namespace brelvion::platform
