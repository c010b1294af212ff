#include "commandfiles/FileMenu.h"

#include <optional>

#include "commandfiles/CommandFileErrors.h"
#include "platform/DocumentLookup.h"
#include "platform/RuntimeError.h"

namespace brelvion::commandfiles {

using platform::MessageIcon;
using platform::RuntimeError;

namespace {

// A program or document that cannot be had is, to the user, a file that is not there.
RuntimeError notFound(const std::string& source, const std::string& why = {}) {
  return RuntimeError(RuntimeError::kFileNotFound, source, why);
}

void informationBox(platform::WindowSystem& windows, const RuntimeError& error) {
  windows.messageBox({error.boxText(), "", MessageIcon::Information, platform::MessageButtons::Ok});
}

}  // namespace

const std::string& ChooseCommandFile(platform::WindowSystem& windows, std::string& lastChosen) {
  platform::FileDialogRequest request;
  request.mode = platform::FileDialogMode::Open;
  request.title = kOpenDialogTitle;
  request.filter = kCommandFileFilter;
  std::string chosen = windows.fileDialog(request);
  if (!chosen.empty()) lastChosen = std::move(chosen);
  return lastChosen;
}

bool StartEditor(platform::WindowSystem& windows, const std::string& file,
                 const std::string& source) {
  const std::string failure = windows.startTextEditor(file);
  if (failure.empty()) return true;
  windows.messageBox({std::string(kOpenErrorPrefix) + notFound(source, failure).boxText(), "",
                      MessageIcon::Exclamation, platform::MessageButtons::Ok});
  return false;
}

void ShowHelpText(platform::WindowSystem& windows, const std::string& name) {
  const std::optional<std::string> path = platform::findDocument(name);
  if (!path) {
    informationBox(windows, notFound("zelhelp_Click"));
    return;
  }
  StartEditor(windows, *path, "zelhelp_Click");
}

void ShowHelpDocument(platform::WindowSystem& windows, const std::string& name) {
  const std::optional<std::string> path = platform::findDocument(name);
  if (!path) {
    informationBox(windows, notFound("OLE"));
    return;
  }
  const std::string failure = windows.openDocument(*path);
  if (!failure.empty()) informationBox(windows, notFound("OLE", failure));
}

}  // namespace brelvion::commandfiles
