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

namespace {

int errorNumberFor(int error) {
  switch (error) {
    case ENOENT:
      return RuntimeError::kFileNotFound;
    case ENOTDIR:
      return RuntimeError::kPathNotFound;
    case EACCES:
    case EPERM:
    case EROFS:
      return RuntimeError::kPermissionDenied;
    case ENOSPC:
    case EDQUOT:
      return RuntimeError::kDiskFull;
    case EIO:
    case ENXIO:
    case ENODEV:
      return RuntimeError::kDeviceUnavailable;
    default:
      return RuntimeError::kPathFileAccess;
  }
}

}  // namespace

RuntimeError fileError(int errorNumber, std::string_view action, const std::string& path,
                       std::string source) {
  std::string description = "Cannot ";
  description.append(action).append(" ").append(path).append(": ").append(
      std::strerror(errorNumber));
  return RuntimeError(errorNumberFor(errorNumber), std::move(source), std::move(description));
}

}  // namespace brelvion::commandfiles
