#include "port/i2cdev/I2cDevErrors.h"

#include <cerrno>
#include <system_error>

namespace brelvion::port::i2cdev {

namespace {

constexpr const char* kSource = "I2C transfer";
constexpr const char* kOpenSource = "I2C adapter";

std::string adapterNames(const std::vector<I2cAdapterInfo>& adapters) {
  std::string names;
  for (std::size_t i = 0; i < adapters.size(); ++i) {
    if (i > 0) names += i + 1 == adapters.size() ? " and " : ", ";
    names += adapters[i].adapterName();
  }
  return names;
}

base::RuntimeError missingNodeError(int error, const I2cAdapterInfo& adapter,
                                    const std::vector<I2cAdapterInfo>& adapters) {
  const std::string path = adapter.devicePath();
  const I2cAdapterInfo* known = findAdapter(adapters, adapter.number);
  // The node is there but nothing behind it opens: say what the kernel answered.
  if (known != nullptr && error != ENOENT) {
    return base::RuntimeError(base::RuntimeError::kFileNotFound, kOpenSource,
                              "Cannot open " + path + " for the adapter " +
                                  describeAdapter(*known) + ": " + errnoText(error) +
                                  " (the adapter is gone, or the i2c-dev module is not loaded: "
                                  "sudo modprobe i2c-dev)");
  }
  if (known != nullptr) {
    return base::RuntimeError(base::RuntimeError::kFileNotFound, kOpenSource,
                              "No " + path + " for the adapter " + describeAdapter(*known) +
                                  ": the i2c-dev module is not loaded (sudo modprobe i2c-dev)");
  }
  const std::string found =
      adapters.empty() ? "the kernel lists no I2C adapter"
                       : "the kernel has " + adapterNames(adapters) +
                             " (brelvion-i2c-cli ports lists them)";
  return base::RuntimeError(base::RuntimeError::kFileNotFound, kOpenSource,
                            "No I2C adapter " + adapter.adapterName() + ": " + path + ": " +
                                errnoText(error) + "; " + found +
                                ". Load the i2c-dev module (sudo modprobe i2c-dev) or choose "
                                "another adapter");
}

}  // namespace

std::string errnoText(int error) { return std::generic_category().message(error); }

std::optional<i2c::MessageOutcome> busOutcomeOfErrno(int error) {
  switch (error) {
    case ENXIO:
    case EREMOTEIO:
    case EIO:
      return i2c::MessageOutcome::NotAcknowledged;
    case ETIMEDOUT:
      return i2c::MessageOutcome::TimedOut;
    case EAGAIN:
      return i2c::MessageOutcome::ArbitrationLost;
    default:
      return std::nullopt;
  }
}

base::RuntimeError openError(int error, const I2cAdapterInfo& adapter,
                             const std::vector<I2cAdapterInfo>& adapters) {
  const std::string path = adapter.devicePath();
  switch (error) {
    case ENOENT:
    case ENODEV:
    case ENXIO:
      return missingNodeError(error, adapter, adapters);
    case EACCES:
    case EPERM:
      return base::RuntimeError(base::RuntimeError::kPermissionDenied, kOpenSource,
                                "Permission denied on " + path +
                                    ": add your user to the group 'i2c' (sudo adduser $USER i2c) "
                                    "and log in again, or run as root");
    default:
      return base::RuntimeError(base::RuntimeError::kDeviceUnavailable, kOpenSource,
                                "Cannot open " + path + ": " + errnoText(error));
  }
}

base::RuntimeError callError(int error, const std::string& devicePath, const std::string& adapter,
                             const std::string& call, const std::string& transfer) {
  switch (error) {
    case ENODEV:
    case ESHUTDOWN:
      return base::RuntimeError(base::RuntimeError::kDeviceUnavailable, kSource,
                                "Access to " + devicePath + " failed: " + errnoText(error) +
                                    ": the adapter is gone (unplugged?). Plug it back in and run "
                                    "the command again");
    case EOPNOTSUPP:
      return base::RuntimeError(base::RuntimeError::kInvalidCall, kSource,
                                adapter + " cannot do the transfer " + transfer + " (" + call +
                                    "): " + errnoText(error) +
                                    ": a limit of its driver (the length, the number of "
                                    "messages or their order)");
    case EINVAL:
      return base::RuntimeError(base::RuntimeError::kInvalidCall, kSource,
                                adapter + " refused the transfer " + transfer + " (" + call +
                                    "): " + errnoText(error));
    default:
      return base::RuntimeError(base::RuntimeError::kDeviceUnavailable, kSource,
                                "Access to " + devicePath + " failed (" + call +
                                    "): " + errnoText(error));
  }
}

base::RuntimeError unsupportedError(const std::string& adapter, const std::string& what) {
  return base::RuntimeError(base::RuntimeError::kInvalidCall, kSource, adapter + " " + what);
}

}  // namespace brelvion::port::i2cdev
