#include "port/i2cdev/I2cDevAdapter.h"

#include <fcntl.h>
#include <linux/i2c-dev.h>
#include <linux/i2c.h>

#include <cerrno>

#include "i2c/TransferText.h"
#include "port/i2cdev/I2cAdapterList.h"
#include "port/i2cdev/I2cDevErrors.h"

namespace brelvion::port::i2cdev {

namespace {

// A probe as i2cdetect sends it by default: an address and no data.
bool isLoneEmptyWrite(i2c::MessageSpan messages) {
  return messages.size() == 1 && !messages[0].read && messages[0].bytes.empty();
}

}  // namespace

I2cDevAdapter::I2cDevAdapter(unsigned number, I2cDevSystemCalls& calls)
    : number_(number), calls_(calls) {}

I2cDevAdapter::~I2cDevAdapter() { close(); }

std::string I2cDevAdapter::name() const { return "i2c-" + std::to_string(number_); }

std::string I2cDevAdapter::devicePath() const {
  return std::string(kDeviceDir) + "/" + name();
}

std::string I2cDevAdapter::description() const {
  if (!description_) {
    const auto adapters = listI2cAdapters(calls_);
    const I2cAdapterInfo* known = findAdapter(adapters, number_);
    description_ = known != nullptr ? describeAdapter(*known) : name();
  }
  return *description_;
}

void I2cDevAdapter::open() {
  if (fd_ >= 0) return;
  const int fd = calls_.open(devicePath(), O_RDWR);
  if (fd < 0) {
    I2cAdapterInfo wanted;
    wanted.number = number_;
    throw openError(-fd, wanted, listI2cAdapters(calls_));
  }
  unsigned long functionality = 0;
  const int result = calls_.ioctl(fd, I2C_FUNCS, &functionality);
  if (result < 0) {
    calls_.close(fd);
    throw base::RuntimeError(base::RuntimeError::kDeviceUnavailable, "I2C adapter",
                             "Cannot ask " + devicePath() +
                                 " what it can do (I2C_FUNCS): " + errnoText(-result));
  }
  fd_ = fd;
  functionality_ = functionality;
  slave_.reset();
}

void I2cDevAdapter::close() noexcept {
  if (fd_ < 0) return;
  calls_.close(fd_);
  fd_ = -1;
  slave_.reset();
}

unsigned long I2cDevAdapter::functionality() {
  open();
  return functionality_;
}

i2c::TransferResult I2cDevAdapter::transfer(i2c::MessageSpan messages) {
  open();
  i2c::TransferResult result;
  result.messages.resize(messages.size());
  if (messages.empty()) return result;
  if (isLoneEmptyWrite(messages) && (functionality_ & I2C_FUNC_SMBUS_QUICK) != 0) {
    smbusTransfer(messages, result);
  } else if ((functionality_ & I2C_FUNC_I2C) != 0) {
    combinedTransfer(messages, result);
  } else {
    smbusTransfer(messages, result);
  }
  return result;
}

void I2cDevAdapter::failCall(int error, const std::string& call, const std::string& transfer) {
  const base::RuntimeError failure = callError(error, devicePath(), name(), call, transfer);
  if (error == ENODEV || error == ESHUTDOWN) close();
  throw failure;
}

}  // namespace brelvion::port::i2cdev
