#pragma once

#include <optional>
#include <string>
#include <vector>

namespace brelvion::platform::qt {

struct ProgramCommand {
  std::string program;
  std::vector<std::string> arguments;
};

// Finds the command that opens file (an empty name: the editor alone) in the desktop's
// text editor; nothing when there is none. The window system calls whichever lookup it
// was given, so a better lookup can replace this one without touching the window system.
using TextEditorLookup = std::optional<ProgramCommand> (*)(const std::string& file);

// A plain lookup: $VISUAL, then $EDITOR, then the usual desktop text editors on the PATH.
std::optional<ProgramCommand> simpleTextEditorCommand(const std::string& file);

}  // namespace brelvion::platform::qt
