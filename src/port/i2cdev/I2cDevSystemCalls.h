#pragma once

#include <optional>
#include <string>
#include <vector>

namespace brelvion::port::i2cdev {

// What the i2c-dev backend asks of the operating system, behind an interface so that a
// fake kernel can stand in for it: the adapter's device node (open, ioctl, close) and the
// sysfs entries that name the adapters. The real calls are the C library's own, so that a
// preloaded library can stand in for the kernel too.
//
// Calls that can fail return a non-negative result on success and -errno on failure.
class I2cDevSystemCalls {
 public:
  virtual ~I2cDevSystemCalls() = default;

  // A file descriptor, or -errno.
  virtual int open(const std::string& path, int flags) = 0;
  // The call's non-negative result, or -errno.
  virtual int ioctl(int fd, unsigned long request, void* argument) = 0;
  virtual int close(int fd) = 0;

  // The names in a directory, without "." and ".."; empty when it cannot be read.
  virtual std::vector<std::string> directoryEntries(const std::string& path) = 0;
  // A small file's text (a sysfs attribute); nothing when it cannot be read.
  virtual std::optional<std::string> readSmallFile(const std::string& path) = 0;
  virtual bool exists(const std::string& path) = 0;

  // The calls of the running system; lives for the whole program.
  static I2cDevSystemCalls& real();
};

}  // namespace brelvion::port::i2cdev
