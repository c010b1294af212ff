#pragma once

#include <string>

#include "scripts/Script.h"

namespace brelvion::scripts {

// The text of a script, one statement a line ended by LF: command names in lower case,
// registers, values and masks in upper-case hex as wide as the widths in effect ("0103",
// "01"), the device in two digits, times and counts in decimal, a comment after "; ".
// Line breaks inside a comment become blanks. Reading the text back gives the same
// statements, comments trimmed of blanks.
std::string writeScript(const Script& script);

// One statement as writeScript writes it, with the widths in effect, without a line end.
std::string writeStatement(const Statement& statement, const Target& widths);

}  // namespace brelvion::scripts
