#pragma once

#include <cstdint>
#include <string>

namespace brelvion::port::hardware {

// The operating-system calls the real-port backends make, behind an interface so the
// backends can be driven without a parallel port or root rights.
//
// Calls that can fail return a non-negative result on success and -errno on failure, so
// callers never depend on the global errno surviving in between.
class PortSystemCalls {
 public:
  virtual ~PortSystemCalls() = default;

  // A file descriptor, or -errno.
  virtual int open(const std::string& path, int flags) = 0;
  // 0 (or the call's non-negative result), or -errno.
  virtual int ioctl(int fd, unsigned long request, void* argument) = 0;
  virtual int close(int fd) = 0;

  // Direct I/O port access: permission for count ports from first, and byte transfers.
  // inb and outb may only touch ports ioperm has granted; anything else faults the process.
  virtual bool hasPortIo() const = 0;
  virtual int ioperm(std::uint16_t first, unsigned count, bool enable) = 0;
  virtual std::uint8_t inb(std::uint16_t port) = 0;
  virtual void outb(std::uint16_t port, std::uint8_t value) = 0;

  // The calls of the running system; lives for the whole program.
  static PortSystemCalls& real();
};

}  // namespace brelvion::port::hardware
