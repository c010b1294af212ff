#include "commandfiles/CommandFileErrors.h"

#include <cerrno>
#include <cstring>

namespace brelvion::commandfiles {

using platform::MessageIcon;
using platform::RuntimeError;

platform::MessageBoxRequest errorBox(Step step, const RuntimeError& error) {
  platform::MessageBoxRequest box;
  box.text = error.boxText();
  switch (step) {
    case Step::SendFile:
      box.title = kSendFileErrorTitle;
      box.icon = MessageIcon::Information;
      break;
    case Step::CreateTmpFile:
      box.title = kCreateTmpFileErrorTitle;
      box.icon = MessageIcon::Exclamation;
      break;
    case Step::SendCommandFile:
      box.icon = MessageIcon::Information;
      break;
    case Step::DelayTime:
      box.title = kDelayErrorTitle;
      box.text = kDelayErrorText;
      box.icon = MessageIcon::Exclamation;
      break;
    case Step::CleanUp:
      box.title = kCleanUpErrorTitle;
      box.icon = MessageIcon::Exclamation;
      break;
    case Step::Open:
      box.text = std::string(kOpenErrorPrefix) + error.boxText();
      box.icon = MessageIcon::Exclamation;
      break;
    case Step::DumpToFile:
      box.title = kDumpErrorTitle;
      box.icon = MessageIcon::Information;
      break;
  }
  return box;
}

Failure reportFailure(platform::Desktop& desktop, Step step, const RuntimeError& error) {
  desktop.messageBox(errorBox(step, error));
  return Failure{step, error};
}

}  // namespace brelvion::commandfiles
