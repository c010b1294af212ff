#include "port/i2cdev/I2cDevSystemCalls.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/ioctl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <array>
#include <cerrno>

#include "port/DeviceCalls.h"

namespace brelvion::port::i2cdev {

namespace {

// A sysfs attribute is at most a page; adapter names are far shorter.
constexpr std::size_t kLargestSmallFile = 4096;

class RealI2cDevSystemCalls final : public I2cDevSystemCalls {
 public:
  int open(const std::string& path, int flags) override { return openDevice(path, flags); }
  int ioctl(int fd, unsigned long request, void* argument) override {
    return deviceIoctl(fd, request, argument);
  }
  int close(int fd) override { return closeDevice(fd); }

  std::vector<std::string> directoryEntries(const std::string& path) override {
    std::vector<std::string> names;
    DIR* directory = ::opendir(path.c_str());
    if (directory == nullptr) return names;
    while (const dirent* entry = ::readdir(directory)) {
      const std::string name = entry->d_name;
      if (name != "." && name != "..") names.push_back(name);
    }
    ::closedir(directory);
    return names;
  }

  std::optional<std::string> readSmallFile(const std::string& path) override {
    const int fd = open(path, O_RDONLY);
    if (fd < 0) return std::nullopt;
    std::string text;
    std::array<char, 512> buffer{};
    while (text.size() < kLargestSmallFile) {
      const ssize_t got = ::read(fd, buffer.data(), buffer.size());
      if (got < 0 && errno == EINTR) continue;
      if (got <= 0) break;
      text.append(buffer.data(), static_cast<std::size_t>(got));
    }
    close(fd);
    return text;
  }

  bool exists(const std::string& path) override {
    struct stat status {};
    return ::stat(path.c_str(), &status) == 0;
  }
};

}  // namespace

I2cDevSystemCalls& I2cDevSystemCalls::real() {
  static RealI2cDevSystemCalls calls;
  return calls;
}

}  // namespace brelvion::port::i2cdev
