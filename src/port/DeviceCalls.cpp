#include "port/DeviceCalls.h"

#include <fcntl.h>
#include <sys/ioctl.h>
#include <unistd.h>

#include <cerrno>

namespace brelvion::port {

int resultOrErrno(int result) { return result < 0 ? -errno : result; }

int openDevice(const std::string& path, int flags) {
  int fd;
  do {
    fd = ::open(path.c_str(), flags | O_CLOEXEC);
  } while (fd < 0 && errno == EINTR);
  return resultOrErrno(fd);
}

int deviceIoctl(int fd, unsigned long request, void* argument) {
  int result;
  do {
    result = ::ioctl(fd, request, argument);
  } while (result < 0 && errno == EINTR);
  return resultOrErrno(result);
}

int closeDevice(int fd) { return resultOrErrno(::close(fd)); }

}  // namespace brelvion::port
