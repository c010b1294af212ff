#include "port/hardware/DirectPort.h"

#include <cerrno>
#include <system_error>

#include "base/RuntimeError.h"
#include "port/hardware/LptAccess.h"
#include "port/hardware/PortAddressText.h"

namespace brelvion::port::hardware {

namespace {

// Data, status and control.
constexpr unsigned kRegistersPerPort = 3;

}  // namespace

DirectPort::DirectPort(PortSystemCalls& calls, std::chrono::nanoseconds quantum)
    : HardwarePort(quantum), calls_(calls) {}

DirectPort::~DirectPort() {
  for (std::size_t index = 0; index < kLptBases.size(); ++index) {
    if (granted_[index]) calls_.ioperm(kLptBases[index], kRegistersPerPort, false);
  }
}

std::uint8_t DirectPort::readRegister(std::uint16_t port) {
  const LptAddress address = requireLptAddress(port, "inpb");
  requireAccess(address.base, "inpb");
  return calls_.inb(port);
}

void DirectPort::writeRegister(std::uint16_t port, std::uint8_t value) {
  const LptAddress address = requireLptAddress(port, "out");
  requireAccess(address.base, "out");
  calls_.outb(port, value);
}

void DirectPort::requireAccess(std::uint16_t base, const char* operation) {
  bool& granted = granted_[lptIndex(base)];
  if (granted) return;
  if (!calls_.hasPortIo()) {
    throw base::RuntimeError(
        base::RuntimeError::kDeviceUnavailable, operation,
        "Direct port I/O is only available on x86 Linux; use the ppdev backend "
        "(/dev/parport) on this system");
  }
  const int result = calls_.ioperm(base, kRegistersPerPort, true);
  if (result >= 0) {
    granted = true;
    return;
  }
  const std::string range =
      portAddressText(base) + "-" + portAddressText(base + kRegistersPerPort - 1);
  const int error = -result;
  if (error == EPERM || error == EACCES) {
    throw base::RuntimeError(base::RuntimeError::kPermissionDenied, operation,
                             "Permission denied for I/O ports " + range +
                                 ": direct port I/O needs root (or CAP_SYS_RAWIO). Run as root or "
                                 "use the ppdev backend (/dev/parport), which does not");
  }
  throw base::RuntimeError(
      base::RuntimeError::kDeviceUnavailable, operation,
      "Cannot get access to I/O ports " + range + ": " + std::generic_category().message(error));
}

}  // namespace brelvion::port::hardware
