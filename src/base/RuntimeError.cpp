#include "base/RuntimeError.h"

#include <utility>

namespace brelvion::base {

namespace {

std::string describe(int number, std::string description) {
  return description.empty() ? RuntimeError::standardDescription(number) : std::move(description);
}

}  // namespace

RuntimeError::RuntimeError(int number, std::string source, std::string description)
    : std::runtime_error(std::to_string(number) + ": " + describe(number, description)),
      number_(number),
      description_(describe(number, std::move(description))),
      source_(std::move(source)) {}

RuntimeError RuntimeError::withSource(std::string source) const {
  return RuntimeError(number_, std::move(source), description_);
}

std::string RuntimeError::boxText() const { return std::to_string(number_) + ": " + description_; }

std::string RuntimeError::standardDescription(int number) {
  switch (number) {
    case kInvalidCall:
      return "Invalid procedure call or argument";
    case kOverflow:
      return "Overflow";
    case kTypeMismatch:
      return "Type mismatch";
    case kDeviceTimeout:
      return "Device timeout";
    case kFileNotFound:
      return "File not found";
    case kFileAlreadyOpen:
      return "File already open";
    case kDiskFull:
      return "Disk full";
    case kDeviceUnavailable:
      return "Device unavailable";
    case kPermissionDenied:
      return "Permission denied";
    case kPathFileAccess:
      return "Path/File access error";
    case kPathNotFound:
      return "Path not found";
    case kInvalidFileFormat:
      return "Invalid file format";
    default:
      return "Application-defined or object-defined error";
  }
}

}  // namespace brelvion::base
