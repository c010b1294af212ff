#include "commandfiles/FileMenu.h"

#include <optional>

#include "base/RuntimeError.h"
#include "commandfiles/CommandFileErrors.h"
#include "desktop/DocumentLookup.h"

namespace brelvion::commandfiles {

using base::RuntimeError;
using desktop::MessageIcon;

namespace {

// A program or document that cannot be had is, to the user, a file that is not there.
base::RuntimeError notFound(const std::string& source, const std::string& why = {}) {
  return base::RuntimeError(base::RuntimeError::kFileNotFound, source, why);
}

void informationBox(desktop::WindowSystem& windows, const base::RuntimeError& error) {
  windows.messageBox(
      {error.boxText(), "", desktop::MessageIcon::Information, desktop::MessageButtons::Ok});
}

}  // namespace

const std::string& ChooseCommandFile(desktop::WindowSystem& windows, std::string& lastChosen) {
  desktop::FileDialogRequest request;
  request.mode = desktop::FileDialogMode::Open;
  request.title = kOpenDialogTitle;
  request.filter = kCommandFileFilter;
  std::string chosen = windows.fileDialog(request);
  if (!chosen.empty()) lastChosen = std::move(chosen);
  return lastChosen;
}

bool StartEditor(desktop::WindowSystem& windows, const std::string& file,
                 const std::string& source) {
  const std::string failure = windows.startTextEditor(file);
  if (failure.empty()) return true;
  windows.messageBox({std::string(kOpenErrorPrefix) + notFound(source, failure).boxText(), "",
                      desktop::MessageIcon::Exclamation, desktop::MessageButtons::Ok});
  return false;
}

void ShowHelpText(desktop::WindowSystem& windows, const std::string& name) {
  const std::optional<std::string> path = desktop::findDocument(name);
  if (!path) {
    informationBox(windows, notFound("zelhelp_Click"));
    return;
  }
  StartEditor(windows, *path, "zelhelp_Click");
}

void ShowHelpDocument(desktop::WindowSystem& windows, const std::string& name) {
  const std::optional<std::string> path = desktop::findDocument(name);
  if (!path) {
    informationBox(windows, notFound("OLE"));
    return;
  }
  const std::string failure = windows.openDocument(*path);
  if (!failure.empty()) informationBox(windows, notFound("OLE", failure));
}

}  // namespace brelvion::commandfiles
