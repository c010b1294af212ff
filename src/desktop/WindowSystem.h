#pragma once

#include <string>
#include <utility>
#include <vector>

#include "desktop/Desktop.h"

namespace brelvion::desktop {

enum class FileDialogMode { Open, Save };

struct FileDialogRequest {
  FileDialogMode mode = FileDialogMode::Open;
  std::string title;
  // Description and pattern pairs separated by "|", as "Text (*.TXT)|*.TXT"; the first
  // pair is preselected.
  std::string filter;
};

struct ScreenSize {
  int widthPixels = 0;
  int heightPixels = 0;
};

// What the windows need of the window system beyond the core's message box, yield and
// beep. The Qt layer implements it; GUI tests use a fake, so no test waits on a real
// dialog or starts a real program.
class WindowSystem : public Desktop {
 public:
  // The chosen path, or an empty text when the user cancels.
  virtual std::string fileDialog(const FileDialogRequest& request) = 0;

  // Starts program with these arguments, detached, in a normal focused window, without
  // waiting and never through a shell. Returns an empty text, or why it could not start.
  virtual std::string startProgram(const std::string& program,
                                   const std::vector<std::string>& arguments) = 0;

  // Starts the desktop's text editor on file (an empty file: the editor alone). Returns an
  // empty text, or why no editor could be started.
  virtual std::string startTextEditor(const std::string& file) = 0;

  // Whether startTextEditor has an editor to start.
  virtual bool hasTextEditor() = 0;

  // Shows the text file path read-only in a window of its own, without waiting: help can
  // be read where there is no editor. Returns an empty text, or why it could not be shown.
  virtual std::string showTextFile(const std::string& path) = 0;

  // Shows a document in the desktop's viewer for its type. Returns an empty text, or why
  // it could not be shown.
  virtual std::string openDocument(const std::string& path) = 0;

  virtual ScreenSize screenSize() = 0;
};

}  // namespace brelvion::desktop
