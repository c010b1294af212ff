#pragma once

#include <deque>
#include <string>
#include <vector>

#include "desktop/WindowSystem.h"
#include "support/FakeDesktop.h"

namespace brelvion::testing {

// The window system for GUI tests: records every dialog, program start and document
// request, and answers file dialogs from a queue (an empty queue answers as a cancel).
class FakeWindowSystem : public desktop::WindowSystem {
 public:
  struct ProgramStart {
    std::string program;
    std::vector<std::string> arguments;
  };

  desktop::MessageAnswer messageBox(const desktop::MessageBoxRequest& request) override {
    boxes.push_back(request);
    if (onBox) onBox(request);
    if (!answers.empty()) {
      const desktop::MessageAnswer next = answers.front();
      answers.pop_front();
      return next;
    }
    return request.buttons == desktop::MessageButtons::YesNo ? desktop::MessageAnswer::Yes
                                                             : desktop::MessageAnswer::Ok;
  }
  void processPendingEvents() override {
    ++yields;
    if (onYield) onYield();
  }
  void beep() override { ++beeps; }

  std::string fileDialog(const desktop::FileDialogRequest& request) override {
    dialogs.push_back(request);
    if (dialogAnswers.empty()) return {};
    std::string next = dialogAnswers.front();
    dialogAnswers.pop_front();
    return next;
  }
  std::string startProgram(const std::string& program,
                           const std::vector<std::string>& arguments) override {
    starts.push_back({program, arguments});
    return startError;
  }
  std::string startTextEditor(const std::string& file) override {
    editorFiles.push_back(file);
    return startError;
  }
  bool hasTextEditor() override { return editorFound; }
  std::string showTextFile(const std::string& path) override {
    textWindows.push_back(path);
    return textWindowError;
  }
  std::string openDocument(const std::string& path) override {
    documents.push_back(path);
    return documentError;
  }
  desktop::ScreenSize screenSize() override { return screen; }

  std::vector<desktop::MessageBoxRequest> boxes;
  // Answers for the next boxes, in order; after them OK, or Yes for a question.
  std::deque<desktop::MessageAnswer> answers;
  std::function<void(const desktop::MessageBoxRequest&)> onBox;
  int yields = 0;
  int beeps = 0;
  // Runs inside the yield, as a pending event would.
  std::function<void()> onYield;

  std::vector<desktop::FileDialogRequest> dialogs;
  std::deque<std::string> dialogAnswers;
  std::vector<ProgramStart> starts;
  std::vector<std::string> editorFiles;
  std::vector<std::string> documents;
  std::vector<std::string> textWindows;
  // Set to make program starts, document requests or text windows fail with this reason.
  std::string startError;
  std::string documentError;
  std::string textWindowError;
  bool editorFound = true;
  desktop::ScreenSize screen{1024, 768};
};

}  // namespace brelvion::testing
