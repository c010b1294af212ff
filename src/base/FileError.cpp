#include "base/FileError.h"

#include <cerrno>
#include <cstring>

namespace brelvion::base {

namespace {

int errorNumberFor(int errorCode, std::string_view action) {
  switch (errorCode) {
    case ENOENT:
      return action == "read" ? RuntimeError::kFileNotFound : RuntimeError::kPathNotFound;
    case ENOTDIR:
      return RuntimeError::kPathNotFound;
    case EACCES:
    case EPERM:
    case EROFS:
      return RuntimeError::kPermissionDenied;
    case ENOSPC:
    case EDQUOT:
    case EFBIG:
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

RuntimeError fileError(int errorCode, std::string_view action, const std::string& path,
                       std::string source) {
  std::string description = "Cannot ";
  description.append(action).append(" ").append(path).append(": ").append(std::strerror(errorCode));
  return RuntimeError(errorNumberFor(errorCode, action), std::move(source), std::move(description));
}

}  // namespace brelvion::base
