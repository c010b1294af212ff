#pragma once

#include <optional>
#include <string>

#include "commandfiles/ScriptSend.h"
#include "commandfiles/Sender.h"

namespace brelvion::commandfiles {

// What the status bar says of Send File, which counts the writes of a command file and the
// commands of a bring-up script.

// Before write `index` (from 1) of `total`: "Send File: write 2 of 5 (Esc stops)".
std::string writeProgressText(long long index, long long total);
// Before command `index` of `total`: "Send File: command 2 of 5 (Esc stops)".
std::string commandProgressText(long long index, long long total);

// At the end of a command file of `total` writes: "Send File: 3 writes sent", with
// ", 1 not acknowledged" when some were not; "Send File stopped after write 2 of 5";
// nothing after a failure, whose box said why.
std::optional<std::string> sendEndText(const SendOutcome& outcome, long long total);
// The same for a script: "Send File: 1 command sent", "Send File stopped after command 2 of 5".
std::optional<std::string> sendEndText(const ScriptSendOutcome& outcome);

}  // namespace brelvion::commandfiles
