#include "port/gpio/GpioSystemCalls.h"

#include "port/DeviceCalls.h"

namespace brelvion::port::gpio {

namespace {

class RealGpioSystemCalls final : public GpioSystemCalls {
 public:
  int open(const std::string& path, int flags) override { return openDevice(path, flags); }
  int ioctl(int fd, unsigned long request, void* argument) override {
    return deviceIoctl(fd, request, argument);
  }
  int close(int fd) override { return closeDevice(fd); }
};

}  // namespace

GpioSystemCalls& GpioSystemCalls::real() {
  static RealGpioSystemCalls calls;
  return calls;
}

}  // namespace brelvion::port::gpio
