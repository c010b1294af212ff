#pragma once

#include <deque>
#include <string>
#include <vector>

#include "mocks/FakeDesktop.h"
#include "platform/WindowSystem.h"

namespace brelvion::testing {

// The window system for GUI tests: records every dialog, program start and document
// request, and answers file dialogs from a queue (an empty queue answers as a cancel).
class FakeWindowSystem : public platform::WindowSystem {
 public:
  struct ProgramStart {
    std::string program;
    std::vector<std::string> arguments;
  };

  platform::MessageAnswer messageBox(const platform::MessageBoxRequest& request) override {
    boxes.push_back(request);
    if (onBox) onBox(request);
    if (!answers.empty()) {
      const platform::MessageAnswer next = answers.front();
      answers.pop_front();
      return next;
    }
    return request.buttons == platform::MessageButtons::YesNo ? platform::MessageAnswer::Yes
                                                               : platform::MessageAnswer::Ok;
  }
  void processPendingEvents() override {
    ++yields;
    if (onYield) onYield();
  }
  void beep() override { ++beeps; }

  std::string fileDialog(const platform::FileDialogRequest& request) override {
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
  std::string openDocument(const std::string& path) override {
    documents.push_back(path);
    return documentError;
  }
  platform::ScreenSize screenSize() override { return screen; }

  std::vector<platform::MessageBoxRequest> boxes;
  // Answers for the next boxes, in order; after them OK, or Yes for a question.
  std::deque<platform::MessageAnswer> answers;
  std::function<void(const platform::MessageBoxRequest&)> onBox;
  int yields = 0;
  int beeps = 0;
  // Runs inside the yield, as a pending event would.
  std::function<void()> onYield;

  std::vector<platform::FileDialogRequest> dialogs;
  std::deque<std::string> dialogAnswers;
  std::vector<ProgramStart> starts;
  std::vector<std::string> editorFiles;
  std::vector<std::string> documents;
  // Set to make program starts or document requests fail with this reason.
  std::string startError;
  std::string documentError;
  platform::ScreenSize screen{1024, 768};
};

}  // namespace brelvion::testing
