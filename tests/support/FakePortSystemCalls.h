#pragma once

#include <linux/ppdev.h>
#include <sys/ioctl.h>

#include <cerrno>
#include <cstdint>
#include <cstdio>
#include <map>
#include <set>
#include <string>
#include <vector>

#include "port/hardware/PortSystemCalls.h"

namespace brelvion::testing {

// System calls that touch nothing: each is logged as a line ("open PATH", "ioctl 3 PPWDATA 7F",
// "close 3", "ioperm 0x378 3 on", "inb 0x379", "outb 0x37A 08") and answered from the
// settings below.
class FakePortSystemCalls : public port::hardware::PortSystemCalls {
 public:
  int open(const std::string& path, int) override {
    log.push_back("open " + path);
    if (auto error = openErrors.find(path); error != openErrors.end()) return -error->second;
    openFds.insert(nextFd);
    return nextFd++;
  }

  int ioctl(int fd, unsigned long request, void* argument) override {
    auto* byte = static_cast<std::uint8_t*>(argument);
    std::string line = "ioctl " + std::to_string(fd) + " " + requestName(request);
    if (auto error = ioctlErrors.find(request); error != ioctlErrors.end()) {
      log.push_back(line);
      return -error->second;
    }
    if (isTransfer(request) && transfersBeforeFailure >= 0 && transfersBeforeFailure-- == 0) {
      transfersBeforeFailure = 0;
      log.push_back(line + " failed");
      return -transferError;
    }
    if (request == PPWDATA || request == PPWCONTROL) line += " " + hex(*byte);
    if (request == PPRDATA || request == PPRSTATUS || request == PPRCONTROL) *byte = reads[request];
    log.push_back(line);
    return 0;
  }

  int close(int fd) override {
    log.push_back("close " + std::to_string(fd));
    return openFds.erase(fd) == 1 ? 0 : -EBADF;
  }

  bool hasPortIo() const override { return portIo; }
  int ioperm(std::uint16_t first, unsigned count, bool enable) override {
    log.push_back("ioperm " + address(first) + " " + std::to_string(count) +
                  (enable ? " on" : " off"));
    return enable ? -iopermError : 0;
  }
  std::uint8_t inb(std::uint16_t port) override {
    log.push_back("inb " + address(port));
    return inbValue;
  }
  void outb(std::uint16_t port, std::uint8_t value) override {
    log.push_back("outb " + address(port) + " " + hex(value));
  }

  std::vector<std::string> log;
  std::set<int> openFds;
  int nextFd = 3;
  std::map<std::string, int> openErrors;        // path -> errno
  std::map<unsigned long, int> ioctlErrors;     // request -> errno
  std::map<unsigned long, std::uint8_t> reads;  // PPRDATA/PPRSTATUS/PPRCONTROL -> value
  // Register transfers that succeed before every later one fails with transferError, as
  // when the port goes away in the middle of a command; negative for never.
  int transfersBeforeFailure = -1;
  int transferError = EIO;
  bool portIo = true;
  int iopermError = 0;
  std::uint8_t inbValue = 0xFF;

 private:
  static bool isTransfer(unsigned long request) {
    return request == PPRDATA || request == PPWDATA || request == PPRSTATUS ||
           request == PPRCONTROL || request == PPWCONTROL;
  }
  static std::string hex(std::uint8_t value) {
    char text[4];
    std::snprintf(text, sizeof text, "%02X", static_cast<unsigned>(value));
    return text;
  }
  static std::string address(std::uint16_t port) {
    char text[8];
    std::snprintf(text, sizeof text, "0x%X", static_cast<unsigned>(port));
    return text;
  }
  static std::string requestName(unsigned long request) {
    static const std::map<unsigned long, std::string> names{
        {PPEXCL, "PPEXCL"},         {PPCLAIM, "PPCLAIM"},      {PPRELEASE, "PPRELEASE"},
        {PPRDATA, "PPRDATA"},       {PPWDATA, "PPWDATA"},      {PPRSTATUS, "PPRSTATUS"},
        {PPRCONTROL, "PPRCONTROL"}, {PPWCONTROL, "PPWCONTROL"}};
    auto name = names.find(request);
    return name == names.end() ? "request " + std::to_string(request) : name->second;
  }
};

}  // namespace brelvion::testing
