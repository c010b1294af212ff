#include "port/hardware/PpdevPort.h"

#include <fcntl.h>
#include <sys/ioctl.h>

// After sys/ioctl.h, which defines the _IO macros it uses.
#include <linux/ppdev.h>

#include <algorithm>
#include <cerrno>
#include <system_error>
#include <utility>

#include "base/RuntimeError.h"
#include "port/hardware/LptAccess.h"
#include "port/hardware/PortAddressText.h"

namespace brelvion::port::hardware {

namespace {

std::string errnoText(int error) { return std::generic_category().message(error); }

base::RuntimeError noDeviceError(std::uint16_t base, const std::vector<ParportDevice>& devices,
                                 const char* operation) {
  const std::string address = portAddressText(base);
  if (devices.empty()) {
    return base::RuntimeError(base::RuntimeError::kFileNotFound, operation,
                              "No parallel port at " + address +
                                  ": no /dev/parport devices exist. Load the parallel-port drivers "
                                  "(sudo modprobe parport_pc ppdev) or use the simulated bus");
  }
  const auto atBase = std::find_if(devices.begin(), devices.end(),
                                   [&](const ParportDevice& d) { return d.base == base; });
  if (atBase != devices.end()) {
    return base::RuntimeError(base::RuntimeError::kFileNotFound, operation,
                              "No parallel port device for " + address + ": the kernel has " +
                                  atBase->name + " there but " + atBase->devicePath +
                                  " is missing. Load the ppdev module (sudo modprobe ppdev)");
  }
  return base::RuntimeError(base::RuntimeError::kFileNotFound, operation,
                            "No parallel port at " + address + ": found " +
                                describeParportDevices(devices) +
                                ". Choose the port at one of those addresses");
}

base::RuntimeError openError(int error, const std::string& path, std::uint16_t base,
                             const char* operation) {
  switch (error) {
    case EACCES:
    case EPERM:
      return base::RuntimeError(base::RuntimeError::kPermissionDenied, operation,
                                "Permission denied on " + path +
                                    ": add your user to the group 'lp' (sudo adduser $USER lp) "
                                    "and log in again");
    case ENOENT:
    case ENODEV:
    case ENXIO:
      return base::RuntimeError(base::RuntimeError::kFileNotFound, operation,
                                "No parallel port at " + portAddressText(base) + ": " + path +
                                    ": " + errnoText(error) +
                                    ". Load the ppdev module (sudo modprobe ppdev)");
    default:
      return base::RuntimeError(base::RuntimeError::kDeviceUnavailable, operation,
                                "Cannot open " + path + ": " + errnoText(error));
  }
}

base::RuntimeError busyError(const std::string& path, const char* operation) {
  return base::RuntimeError(base::RuntimeError::kDeviceUnavailable, operation,
                            path +
                                " is busy: another driver (the 'lp' printer module) or program "
                                "holds it. Unload lp (sudo rmmod lp) or close the other program, "
                                "then try again");
}

}  // namespace

PpdevPort::PpdevPort(PortSystemCalls& calls, std::filesystem::path root,
                     std::chrono::nanoseconds quantum)
    : HardwarePort(quantum), calls_(calls), root_(std::move(root)) {}

PpdevPort::~PpdevPort() { closeAll(); }

std::uint8_t PpdevPort::readRegister(std::uint16_t port) {
  const LptAddress address = requireLptAddress(port, "inpb");
  const OpenDevice& device = deviceFor(address.base, "inpb");
  std::uint8_t value = 0;
  switch (address.reg) {
    case LptRegister::Data:
      transfer(device, PPRDATA, value, "inpb");
      break;
    case LptRegister::Status:
      transfer(device, PPRSTATUS, value, "inpb");
      break;
    case LptRegister::Control:
      transfer(device, PPRCONTROL, value, "inpb");
      break;
  }
  return value;
}

void PpdevPort::writeRegister(std::uint16_t port, std::uint8_t value) {
  const LptAddress address = requireLptAddress(port, "out");
  const OpenDevice& device = deviceFor(address.base, "out");
  switch (address.reg) {
    case LptRegister::Data:
      transfer(device, PPWDATA, value, "out");
      break;
    case LptRegister::Control:
      transfer(device, PPWCONTROL, value, "out");
      break;
    case LptRegister::Status:
      // The status register is read-only on the hardware, so outb there changes nothing;
      // ppdev has no call for it either.
      break;
  }
}

PpdevPort::OpenDevice& PpdevPort::deviceFor(std::uint16_t base, const char* operation) {
  OpenDevice& device = devices_[lptIndex(base)];
  if (device.fd < 0) device = openDevice(base, operation);
  return device;
}

PpdevPort::OpenDevice PpdevPort::openDevice(std::uint16_t base, const char* operation) {
  const std::vector<ParportDevice> devices = listParportDevices(root_);
  const auto match = std::find_if(devices.begin(), devices.end(), [&](const ParportDevice& d) {
    return d.base == base && d.nodePresent;
  });
  if (match == devices.end()) throw noDeviceError(base, devices, operation);

  const int fd = calls_.open(match->devicePath, O_RDWR);
  if (fd < 0) throw openError(-fd, match->devicePath, base, operation);
  claim(fd, match->devicePath, operation);
  return OpenDevice{fd, match->devicePath};
}

// Exclusive, so that no printer driver shares the port while the bus is in use. ppdev only
// honours PPEXCL before the first PPCLAIM, which is where it registers with the port; with
// another driver registered that registration fails with ENXIO rather than waiting.
void PpdevPort::claim(int fd, const std::string& path, const char* operation) {
  int result = calls_.ioctl(fd, PPEXCL, nullptr);
  const bool exclusive = result >= 0;
  if (exclusive) result = calls_.ioctl(fd, PPCLAIM, nullptr);
  if (result >= 0) return;

  calls_.close(fd);
  const int error = -result;
  if (exclusive && (error == ENXIO || error == EBUSY)) throw busyError(path, operation);
  throw base::RuntimeError(base::RuntimeError::kDeviceUnavailable, operation,
                           "Cannot claim " + path + ": " + errnoText(error));
}

void PpdevPort::transfer(const OpenDevice& device, unsigned long request, std::uint8_t& value,
                         const char* operation) {
  const int result = calls_.ioctl(device.fd, request, &value);
  if (result < 0) {
    throw base::RuntimeError(base::RuntimeError::kDeviceUnavailable, operation,
                             "Access to " + device.path + " failed: " + errnoText(-result));
  }
}

void PpdevPort::closeAll() noexcept {
  for (OpenDevice& device : devices_) {
    if (device.fd < 0) continue;
    calls_.ioctl(device.fd, PPRELEASE, nullptr);
    calls_.close(device.fd);
    device.fd = -1;
  }
}

}  // namespace brelvion::port::hardware
