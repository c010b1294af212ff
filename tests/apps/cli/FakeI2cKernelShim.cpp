// A library to preload into the real companion (LD_PRELOAD) that stands in for the kernel
// behind /dev/i2c-7: the fake kernel of the unit tests, with a register device at 7-bit
// 21h (write address 42). BRELVION_SHIM_SMBUS=1 makes the adapter SMBus-only, as i2c-stub
// is. Every other open, ioctl and close goes on to the C library.
#include <dlfcn.h>
#include <fcntl.h>

#include <cstdarg>
#include <cstdlib>
#include <map>
#include <mutex>
#include <string>

#include "support/FakeI2cKernel.h"

namespace {

constexpr unsigned kAdapter = 7;

struct Shim {
  Shim() {
    const char* smbus = std::getenv("BRELVION_SHIM_SMBUS");
    const unsigned long functionality =
        smbus != nullptr && std::string(smbus) == "1"
            ? (I2C_FUNC_SMBUS_QUICK | I2C_FUNC_SMBUS_BYTE | I2C_FUNC_SMBUS_BYTE_DATA |
               I2C_FUNC_SMBUS_I2C_BLOCK)
            : (I2C_FUNC_I2C | I2C_FUNC_SMBUS_EMUL);
    kernel.addAdapter(kAdapter, "Brelvion shim", functionality).devices[0x21];
  }
  brelvion::testing::FakeI2cKernel kernel;
  // The descriptor the program holds (a real one, on /dev/null, so no other file gets its
  // number) -> the fake kernel's own.
  std::map<int, int> descriptors;
  std::mutex lock;
};

Shim& shim() {
  static Shim instance;
  return instance;
}

template <typename Function>
Function next(const char* name) {
  return reinterpret_cast<Function>(dlsym(RTLD_NEXT, name));
}

bool isI2cDevice(const char* path) {
  return path != nullptr && std::string(path).rfind("/dev/i2c-", 0) == 0;
}

int openFake(const char* path, int flags) {
  Shim& s = shim();
  std::lock_guard<std::mutex> hold(s.lock);
  const int fake = s.kernel.open(path, flags);
  if (fake < 0) {
    errno = -fake;
    return -1;
  }
  using Open = int (*)(const char*, int, ...);
  static const Open realOpen = next<Open>("open");
  const int fd = realOpen("/dev/null", O_RDWR | (flags & O_CLOEXEC));
  if (fd >= 0) s.descriptors[fd] = fake;
  return fd;
}

int modeOf(int flags, va_list arguments) {
  return (flags & (O_CREAT | O_TMPFILE)) != 0 ? va_arg(arguments, int) : 0;
}

}  // namespace

extern "C" {

int open(const char* path, int flags, ...) {
  va_list arguments;
  va_start(arguments, flags);
  const int mode = modeOf(flags, arguments);
  va_end(arguments);
  if (isI2cDevice(path)) return openFake(path, flags);
  using Open = int (*)(const char*, int, ...);
  static const Open real = next<Open>("open");
  return real(path, flags, mode);
}

int open64(const char* path, int flags, ...) {
  va_list arguments;
  va_start(arguments, flags);
  const int mode = modeOf(flags, arguments);
  va_end(arguments);
  if (isI2cDevice(path)) return openFake(path, flags);
  using Open = int (*)(const char*, int, ...);
  static const Open real = next<Open>("open64");
  return real(path, flags, mode);
}

int ioctl(int fd, unsigned long request, ...) {
  va_list arguments;
  va_start(arguments, request);
  void* argument = va_arg(arguments, void*);
  va_end(arguments);
  {
    Shim& s = shim();
    std::lock_guard<std::mutex> hold(s.lock);
    const auto fake = s.descriptors.find(fd);
    if (fake != s.descriptors.end()) {
      const int result = s.kernel.ioctl(fake->second, request, argument);
      if (result >= 0) return result;
      errno = -result;
      return -1;
    }
  }
  using Ioctl = int (*)(int, unsigned long, ...);
  static const Ioctl real = next<Ioctl>("ioctl");
  return real(fd, request, argument);
}

int close(int fd) {
  {
    Shim& s = shim();
    std::lock_guard<std::mutex> hold(s.lock);
    const auto fake = s.descriptors.find(fd);
    if (fake != s.descriptors.end()) {
      s.kernel.close(fake->second);
      s.descriptors.erase(fake);
    }
  }
  using Close = int (*)(int);
  static const Close real = next<Close>("close");
  return real(fd);
}

}  // extern "C"
