#include "commandfiles/FileMenu.h"

#include "base/RuntimeError.h"
#include "commandfiles/CommandFileErrors.h"
#include "commandfiles/ScriptSend.h"
#include "desktop/ErrorBox.h"

namespace brelvion::commandfiles {

const std::string& chooseCommandFile(desktop::WindowSystem& windows, std::string& lastChosen) {
  desktop::FileDialogRequest request;
  request.mode = desktop::FileDialogMode::Open;
  request.title = kOpenDialogTitle;
  request.filter = kOpenDialogFilter;
  std::string chosen = windows.fileDialog(request);
  if (!chosen.empty()) lastChosen = std::move(chosen);
  return lastChosen;
}

bool startEditor(desktop::WindowSystem& windows, const std::string& file,
                 const std::string& source) {
  const std::string failure = windows.startTextEditor(file);
  if (failure.empty()) return true;
  // An editor that cannot be had is, to the user, a file that is not there.
  desktop::showErrorBox(windows,
                        base::RuntimeError(base::RuntimeError::kFileNotFound, source, failure), "",
                        desktop::MessageIcon::Exclamation, desktop::kErrorCodePrefix);
  return false;
}

}  // namespace brelvion::commandfiles
