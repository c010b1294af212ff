#pragma once

#include <optional>
#include <string>
#include <vector>

namespace brelvion::desktop {

struct ProgramCommand {
  std::string program;
  std::vector<std::string> arguments;
};

// Finds the command that opens file (an empty name: the editor alone) in the desktop's
// text editor; nothing when there is none. The window system calls whichever lookup it
// was given, so a better lookup can replace this one without touching the window system.
using TextEditorLookup = std::optional<ProgramCommand> (*)(const std::string& file);

// The desktop's own choice: its default application for plain text, else a graphical
// $VISUAL or $EDITOR, else a common graphical editor on the PATH.
std::optional<ProgramCommand> desktopTextEditorCommand(const std::string& file);

}  // namespace brelvion::desktop
