#pragma once

#include <cstddef>
#include <string>
#include <string_view>

#include "commandfiles/Sender.h"
#include "core/ToolCore.h"
#include "scripts/ScriptRunner.h"

namespace brelvion::commandfiles {

// The Open dialog's types: the design's command files first (chosen when it opens), both
// kinds together, then bring-up scripts.
inline constexpr std::string_view kOpenDialogFilter =
    "I2C File (*.i2c)|*.i2c|All I2C files|*.i2c;*.i2cs|I2C Script (*.i2cs)|*.i2cs";

// The most problems of a script one box lists; the rest are counted.
inline constexpr std::size_t kProblemsShown = 10;

struct ScriptSendOutcome {
  // Failed: the script was not sent (its problems, a file that cannot be read), or it
  // stopped at a line (a command not acknowledged, a failed poll or expect), or the port
  // failed; each has been shown in the "Send File - Error" box.
  SendEnd end = SendEnd::Completed;
  std::size_t commands = 0;
  std::size_t total = 0;
  std::size_t unacknowledged = 0;
};

// Send File on a bring-up script (.i2cs): read and checked whole first, its problems shown
// in one box, FILE:LINE each, and nothing sent; then run on the core's bus, the register
// reads' pointer writes followed by pointerThen (core::readPointerThen). hooks: the
// progress before each bus command, updateDeviceMonitor after it (told whether it went
// through), a stop between commands and in waits, the clock of delays and polls.
// keepGoing: a command not acknowledged does not stop the script. The caller holds the
// bus, as for SendFile.
ScriptSendOutcome sendScriptFile(core::ToolCore& core, const std::string& path,
                                 const SendHooks& hooks, bool keepGoing,
                                 i2c::AfterMessage pointerThen);

// The problems of a script as the box lists them, one a line, at most kProblemsShown.
std::string problemsText(const scripts::Problems& problems);

}  // namespace brelvion::commandfiles
