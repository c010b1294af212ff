#include "port/gpio/GpioSystemCalls.h"

#include <fcntl.h>
#include <sys/ioctl.h>
#include <unistd.h>

#include <cerrno>

namespace brelvion::port::gpio {

namespace {

int resultOrErrno(int result) { return result < 0 ? -errno : result; }

class RealGpioSystemCalls final : public GpioSystemCalls {
 public:
  int open(const std::string& path, int flags) override {
    int fd;
    do {
      fd = ::open(path.c_str(), flags | O_CLOEXEC);
    } while (fd < 0 && errno == EINTR);
    return resultOrErrno(fd);
  }

  int ioctl(int fd, unsigned long request, void* argument) override {
    int result;
    do {
      result = ::ioctl(fd, request, argument);
    } while (result < 0 && errno == EINTR);
    return resultOrErrno(result);
  }

  // Not retried on EINTR: Linux has released the descriptor by then.
  int close(int fd) override { return resultOrErrno(::close(fd)); }
};

}  // namespace

GpioSystemCalls& GpioSystemCalls::real() {
  static RealGpioSystemCalls calls;
  return calls;
}

}  // namespace brelvion::port::gpio
