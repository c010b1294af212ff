#include "platform/qt/TextEditorCommand.h"

#include <QStandardPaths>
#include <QString>
#include <QStringList>
#include <cstdlib>

namespace brelvion::platform::qt {

namespace {

// Text editors of the common Linux desktops, in the order they are tried.
constexpr const char* kDesktopEditors[] = {
    "gnome-text-editor", "gedit",  "kate", "kwrite", "mousepad", "pluma", "xed",
    "featherpad",        "leafpad"};

// An editor variable may carry options ("code --wait"); its first word is the program.
std::optional<ProgramCommand> commandFromVariable(const char* name) {
  const char* value = std::getenv(name);
  if (value == nullptr) return std::nullopt;
  const QStringList words = QString::fromLocal8Bit(value).split(' ', Qt::SkipEmptyParts);
  if (words.isEmpty() || QStandardPaths::findExecutable(words.front()).isEmpty()) {
    return std::nullopt;
  }
  ProgramCommand command{words.front().toStdString(), {}};
  for (qsizetype i = 1; i < words.size(); ++i) command.arguments.push_back(words[i].toStdString());
  return command;
}

std::optional<ProgramCommand> editorCommand() {
  for (const char* variable : {"VISUAL", "EDITOR"}) {
    if (auto command = commandFromVariable(variable)) return command;
  }
  for (const char* editor : kDesktopEditors) {
    if (!QStandardPaths::findExecutable(QString::fromLatin1(editor)).isEmpty()) {
      return ProgramCommand{editor, {}};
    }
  }
  return std::nullopt;
}

}  // namespace

std::optional<ProgramCommand> simpleTextEditorCommand(const std::string& file) {
  std::optional<ProgramCommand> command = editorCommand();
  if (command && !file.empty()) command->arguments.push_back(file);
  return command;
}

}  // namespace brelvion::platform::qt
