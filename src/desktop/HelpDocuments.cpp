#include "desktop/HelpDocuments.h"

#include <optional>

#include "base/RuntimeError.h"
#include "desktop/DocumentLookup.h"
#include "desktop/ErrorBox.h"

namespace brelvion::desktop {

namespace {

constexpr std::string_view kSource = "openHelpDocument";
constexpr std::string_view kTextSuffix = ".txt";

bool isTextFile(std::string_view name) {
  return name.size() >= kTextSuffix.size() &&
         name.substr(name.size() - kTextSuffix.size()) == kTextSuffix;
}

// A program or document that cannot be had is, to the user, a file that is not there.
base::RuntimeError notFound(const std::string& why = {}) {
  return base::RuntimeError(base::RuntimeError::kFileNotFound, std::string(kSource), why);
}

}  // namespace

void openHelpDocument(WindowSystem& windows, std::string_view name) {
  const std::optional<std::string> path = findDocument(std::string(name));
  if (!path) {
    showErrorBox(windows, notFound(), "", MessageIcon::Information);
    return;
  }
  if (isTextFile(name)) {
    // Without an editor the help is still there to read.
    const std::string failure =
        windows.hasTextEditor() ? windows.startTextEditor(*path) : windows.showTextFile(*path);
    if (!failure.empty()) {
      showErrorBox(windows, notFound(failure), "", MessageIcon::Exclamation, kErrorCodePrefix);
    }
    return;
  }
  const std::string failure = windows.openDocument(*path);
  if (!failure.empty()) showErrorBox(windows, notFound(failure), "", MessageIcon::Information);
}

}  // namespace brelvion::desktop
