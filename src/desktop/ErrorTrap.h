#pragma once

#include <functional>
#include <string>

#include "base/RuntimeError.h"
#include "desktop/Desktop.h"

namespace brelvion::desktop {

// The exception being handled, as a numbered error: a RuntimeError as it is, running out
// of memory as error 7, any other exception as error 51 with its own text. Call only
// inside a catch block.
base::RuntimeError currentError();

// Runs a window's event handler so that no error escapes into the event loop: a numbered
// run-time error shows "number: description" in a box titled title (empty: the program's
// name), anything else shows as an internal error, and the program goes on with whatever
// state the handler reached. True when the handler ran to its end.
bool runHandler(Desktop& desktop, const std::string& title, const std::function<void()>& handler);

}  // namespace brelvion::desktop
