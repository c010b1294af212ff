#pragma once

#include <string>
#include <vector>

#include "desktop/TextEditorLookup.h"
#include "desktop/WindowSystem.h"

namespace brelvion::gui::qt {

// The title of boxes that are given none.
inline constexpr const char* kApplicationDisplayName = "Brelvion I2C Debug Tool";

// The window system of the windowed program, on Qt Widgets. Needs a QApplication.
// Texts are UTF-8; paths are in the file system's encoding, as the C library takes them.
class QtWindowSystem : public desktop::WindowSystem {
 public:
  QtWindowSystem() = default;

  desktop::MessageAnswer messageBox(const desktop::MessageBoxRequest& request) override;
  void processPendingEvents() override;
  void beep() override;

  std::string fileDialog(const desktop::FileDialogRequest& request) override;
  std::string startProgram(const std::string& program,
                           const std::vector<std::string>& arguments) override;
  std::string startTextEditor(const std::string& file) override;
  bool hasTextEditor() override;
  std::string showTextFile(const std::string& path) override;
  std::string openDocument(const std::string& path) override;
  desktop::ScreenSize screenSize() override;

  // How startTextEditor finds the editor; desktopTextEditorCommand unless a test replaces it.
  void setTextEditorLookup(desktop::TextEditorLookup lookup) { editorLookup_ = lookup; }

 private:
  desktop::TextEditorLookup editorLookup_ = &desktop::desktopTextEditorCommand;
};

}  // namespace brelvion::gui::qt
