#pragma once

#include <functional>

#include "core/ToolCore.h"
#include "platform/Desktop.h"
#include "platform/RuntimeError.h"

namespace brelvion::mainwindow {

// The exception being handled, as a numbered error: a RuntimeError as it is, running out
// of memory as error 7, any other exception as error 51 with its own text. Call only
// inside a catch block.
platform::RuntimeError currentError();

// Runs handler; an error that escapes it is shown in a box (critical icon, default title,
// "number: description") and the program goes on with the state the handler reached.
// Every event handler of the windows runs through this, so that none can end the program.
void runTrapped(platform::Desktop& desktop, const std::function<void()>& handler);

// Runs command as the one bus command of the moment, or refuses it (returns false without
// running it) while another is still running: an event handled inside one of the log's
// yields must not drive the lines in the middle of the command that yielded.
bool runBusCommand(core::ToolCore& core, const std::function<void()>& command);

}  // namespace brelvion::mainwindow
