#pragma once

#include <cstdio>
#include <optional>
#include <string>
#include <vector>

#include "port/i2cdev/I2cDevSystemCalls.h"
#include "support/FakeI2cKernel.h"

namespace brelvion::testing {

// The i2c-dev backend's system calls on a fake kernel: its adapters' nodes, and the sysfs
// folders that list them (with the i2c-dev module loaded: any node present) and the
// devices on them ("3-0021").
class FakeI2cDevSystemCalls : public port::i2cdev::I2cDevSystemCalls {
 public:
  int open(const std::string& path, int flags) override { return kernel.open(path, flags); }
  int ioctl(int fd, unsigned long request, void* argument) override {
    return kernel.ioctl(fd, request, argument);
  }
  int close(int fd) override { return kernel.close(fd); }

  std::vector<std::string> directoryEntries(const std::string& path) override {
    std::vector<std::string> entries;
    for (const auto& [number, adapter] : kernel.adapters) {
      const std::string name = "i2c-" + std::to_string(number);
      if (path == "/sys/class/i2c-dev" && adapter.nodePresent) entries.push_back(name);
      if (path == "/dev" && adapter.nodePresent) entries.push_back(name);
      if (path == "/sys/bus/i2c/devices") {
        entries.push_back(name);
        for (const auto& [address, device] : adapter.devices) {
          char client[16];
          std::snprintf(client, sizeof client, "%u-%04x", number, address);
          entries.emplace_back(client);
        }
      }
    }
    if (path == "/dev") entries.insert(entries.begin(), {"null", "i2c", "tty0"});
    return entries;
  }

  std::optional<std::string> readSmallFile(const std::string& path) override {
    for (const auto& [number, adapter] : kernel.adapters) {
      const std::string entry = "/i2c-" + std::to_string(number) + "/name";
      const bool inClass = path == "/sys/class/i2c-dev" + entry && adapter.nodePresent;
      if (inClass || path == "/sys/bus/i2c/devices" + entry) return adapter.name + "\n";
    }
    return std::nullopt;
  }

  bool exists(const std::string& path) override {
    for (const auto& [number, adapter] : kernel.adapters) {
      if (path == "/dev/i2c-" + std::to_string(number)) return adapter.nodePresent;
    }
    return false;
  }

  FakeI2cKernel kernel;
};

}  // namespace brelvion::testing
