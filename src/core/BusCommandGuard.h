#pragma once

#include <functional>

#include "core/ToolCore.h"

namespace brelvion::core {

// Runs command as the one bus command of the moment, or refuses it (returns false without
// running it) while another is still running: an event handled inside one of the log's
// yields must not drive the lines in the middle of the command that yielded.
bool runBusCommand(core::ToolCore& core, const std::function<void()>& command);

}  // namespace brelvion::core
