#include "platform/qt/TextEditorCommand.h"

#include "platform/TextEditorLookup.h"

namespace brelvion::platform::qt {

std::optional<ProgramCommand> desktopTextEditorCommand(const std::string& file) {
  std::optional<EditorCommand> editor = findTextEditor(file, currentEnvironment());
  if (!editor) return std::nullopt;
  return ProgramCommand{std::move(editor->program), std::move(editor->arguments)};
}

}  // namespace brelvion::platform::qt
