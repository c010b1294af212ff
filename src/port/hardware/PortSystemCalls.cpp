#include "port/hardware/PortSystemCalls.h"

#include <cerrno>

#include "port/DeviceCalls.h"

#if defined(__linux__) && (defined(__x86_64__) || defined(__i386__)) && __has_include(<sys/io.h>)
#include <sys/io.h>
#define BRELVION_HAS_PORT_IO 1
#else
#define BRELVION_HAS_PORT_IO 0
#endif

namespace brelvion::port::hardware {

namespace {

class RealPortSystemCalls final : public PortSystemCalls {
 public:
  int open(const std::string& path, int flags) override { return openDevice(path, flags); }
  int ioctl(int fd, unsigned long request, void* argument) override {
    return deviceIoctl(fd, request, argument);
  }
  int close(int fd) override { return closeDevice(fd); }

#if BRELVION_HAS_PORT_IO
  bool hasPortIo() const override { return true; }
  int ioperm(std::uint16_t first, unsigned count, bool enable) override {
    return resultOrErrno(::ioperm(first, count, enable ? 1 : 0));
  }
  std::uint8_t inb(std::uint16_t port) override { return ::inb(port); }
  // glibc takes the value first, the port second.
  void outb(std::uint16_t port, std::uint8_t value) override { ::outb(value, port); }
#else
  bool hasPortIo() const override { return false; }
  int ioperm(std::uint16_t, unsigned, bool) override { return -ENOSYS; }
  std::uint8_t inb(std::uint16_t) override { return 0xFF; }
  void outb(std::uint16_t, std::uint8_t) override {}
#endif
};

}  // namespace

PortSystemCalls& PortSystemCalls::real() {
  static RealPortSystemCalls calls;
  return calls;
}

}  // namespace brelvion::port::hardware
