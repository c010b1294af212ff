#include "desktop/TextEditorCommand.h"

#include "desktop/TextEditorLookup.h"

namespace brelvion::desktop {

std::optional<ProgramCommand> desktopTextEditorCommand(const std::string& file) {
  std::optional<EditorCommand> editor = findTextEditor(file, currentEnvironment());
  if (!editor) return std::nullopt;
  return ProgramCommand{std::move(editor->program), std::move(editor->arguments)};
}

}  // namespace brelvion::desktop
