#pragma once

#include <string>

namespace brelvion::port::gpio {

// The operating-system calls the GPIO lines make, behind an interface so that they can be
// driven without a GPIO chip: a fake kernel in the tests, a preloaded stand-in in an
// end-to-end check. The real ones are the C library's open, ioctl and close.
//
// Calls return a non-negative result on success and -errno on failure, so callers never
// depend on the global errno surviving in between.
class GpioSystemCalls {
 public:
  virtual ~GpioSystemCalls() = default;

  // A file descriptor, or -errno.
  virtual int open(const std::string& path, int flags) = 0;
  // 0 (or the call's non-negative result), or -errno.
  virtual int ioctl(int fd, unsigned long request, void* argument) = 0;
  virtual int close(int fd) = 0;

  // The calls of the running system; lives for the whole program.
  static GpioSystemCalls& real();
};

}  // namespace brelvion::port::gpio
