#pragma once

#include <stdexcept>
#include <string>

namespace brelvion::base {

// The numbered run-time error the handlers trap and show as "number: description".
class RuntimeError : public std::runtime_error {
 public:
  static constexpr int kInvalidCall = 5;
  static constexpr int kOverflow = 6;
  static constexpr int kTypeMismatch = 13;
  static constexpr int kDeviceTimeout = 24;
  static constexpr int kFileNotFound = 53;
  static constexpr int kFileAlreadyOpen = 55;
  static constexpr int kDiskFull = 61;
  static constexpr int kDeviceUnavailable = 68;
  static constexpr int kPermissionDenied = 70;
  static constexpr int kPathFileAccess = 75;
  static constexpr int kPathNotFound = 76;
  static constexpr int kInvalidFileFormat = 321;

  // description empty: the standard description of number.
  RuntimeError(int number, std::string source, std::string description = {});

  int number() const { return number_; }
  const std::string& description() const { return description_; }
  const std::string& source() const { return source_; }

  // The same error raised again under another source, as a module's own error trap does.
  RuntimeError withSource(std::string source) const;

  // "number: description", the text of the handlers' message boxes.
  std::string boxText() const;

  static std::string standardDescription(int number);

 private:
  int number_;
  std::string description_;
  std::string source_;
};

}  // namespace brelvion::base
