#include "commandfiles/CommandFileErrors.h"

#include "desktop/ErrorBox.h"

namespace brelvion::commandfiles {

using base::RuntimeError;
using desktop::MessageIcon;

desktop::MessageBoxRequest errorBox(Step step, const RuntimeError& error) {
  desktop::MessageBoxRequest box = desktop::errorBoxRequest(error, "", MessageIcon::Information);
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
      box.text = std::string(desktop::kErrorCodePrefix) + error.boxText();
      box.icon = MessageIcon::Exclamation;
      break;
    case Step::DumpToFile:
      box.title = kDumpErrorTitle;
      box.icon = MessageIcon::Information;
      break;
    case Step::SendScript:
      // A failed expect or a command not acknowledged stopped the script: an error, and
      // its box looks like one.
      box.title = kSendFileErrorTitle;
      box.icon = MessageIcon::Critical;
      break;
  }
  return box;
}

Failure reportFailure(desktop::Desktop& desktop, Step step, const RuntimeError& error) {
  desktop.messageBox(errorBox(step, error));
  return Failure{step, error};
}

}  // namespace brelvion::commandfiles
