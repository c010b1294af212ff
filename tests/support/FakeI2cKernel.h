#pragma once

#include <linux/i2c-dev.h>
#include <linux/i2c.h>

#include <array>
#include <cerrno>
#include <cstdint>
#include <cstdio>
#include <deque>
#include <map>
#include <string>
#include <vector>

namespace brelvion::testing {

// A register device as a camera sensor is: the first byte written sets its pointer, every
// further byte written or read moves it on, wrapping from FFh to 00h.
struct FakeRegisterDevice {
  std::array<std::uint8_t, 256> registers{};
  std::uint8_t pointer = 0;

  FakeRegisterDevice() {
    for (int i = 0; i < 256; ++i) registers[i] = static_cast<std::uint8_t>(0x25 * i + 0x28);
  }
  void write(const std::uint8_t* bytes, std::size_t count) {
    if (count == 0) return;
    pointer = bytes[0];
    for (std::size_t i = 1; i < count; ++i) registers[pointer++] = bytes[i];
  }
  void read(std::uint8_t* into, std::size_t count) {
    for (std::size_t i = 0; i < count; ++i) into[i] = registers[pointer++];
  }
};

struct FakeKernelAdapter {
  std::string name;
  unsigned long functionality = I2C_FUNC_I2C | I2C_FUNC_SMBUS_EMUL;
  // By 7-bit address.
  std::map<std::uint8_t, FakeRegisterDevice> devices;
  // /dev/i2c-N exists (the i2c-dev module is loaded).
  bool nodePresent = true;
};

// The kernel's side of /dev/i2c-N, as i2c-dev and an adapter's driver answer it, with
// register devices behind each adapter. Every call is logged as a line:
//   "open /dev/i2c-3", "close 3", "ioctl 3 I2C_FUNCS",
//   "ioctl 3 I2C_RDWR 21/0000/1 [00] 21/0001/256"   (address/flags/length of each i2c_msg)
//   "ioctl 3 I2C_SLAVE_FORCE 21", "ioctl 3 I2C_SMBUS read I2C_BLOCK_DATA 20 32",
//   "ioctl 3 I2C_SMBUS write WORD_DATA 01 3412" (the word, low byte sent first),
//   "ioctl 3 I2C_SMBUS write I2C_BLOCK_DATA 01 3 12 34 56"
// i2c-dev's limits hold (EINVAL beyond 42 messages or 8192 bytes a message); an address
// nobody answers is ENXIO; a call the adapter cannot do is EOPNOTSUPP.
class FakeI2cKernel {
 public:
  FakeKernelAdapter& addAdapter(unsigned number, const std::string& name,
                                unsigned long functionality = I2C_FUNC_I2C | I2C_FUNC_SMBUS_EMUL) {
    FakeKernelAdapter& adapter = adapters[number];
    adapter.name = name;
    adapter.functionality = functionality;
    return adapter;
  }

  int open(const std::string& path, int) {
    log.push_back("open " + path);
    if (auto error = openErrors.find(path); error != openErrors.end()) return -error->second;
    FakeKernelAdapter* adapter = adapterAt(path);
    if (adapter == nullptr || !adapter->nodePresent) return -ENOENT;
    if (gone_) return -ENODEV;
    const int fd = nextFd++;
    openFds[fd] = numberAt(path);
    return fd;
  }

  int close(int fd) {
    log.push_back("close " + std::to_string(fd));
    return openFds.erase(fd) == 1 ? 0 : -EBADF;
  }

  int ioctl(int fd, unsigned long request, void* argument) {
    const std::string head = "ioctl " + std::to_string(fd) + " ";
    const auto open = openFds.find(fd);
    if (open == openFds.end()) {
      log.push_back(head + "on a closed descriptor");
      return -EBADF;
    }
    FakeKernelAdapter& adapter = adapters[open->second];
    switch (request) {
      case I2C_FUNCS:
        log.push_back(head + "I2C_FUNCS");
        if (gone_) return -ENODEV;
        if (functionalityError != 0) return -functionalityError;
        *static_cast<unsigned long*>(argument) = adapter.functionality;
        return 0;
      case I2C_SLAVE_FORCE:
      case I2C_SLAVE: {
        const auto address = reinterpret_cast<unsigned long>(argument);
        log.push_back(head + (request == I2C_SLAVE ? "I2C_SLAVE " : "I2C_SLAVE_FORCE ") +
                      hex(static_cast<unsigned>(address)));
        if (gone_) return -ENODEV;
        if (address > 0x7F) return -EINVAL;
        slaves_[fd] = static_cast<std::uint8_t>(address);
        return 0;
      }
      case I2C_RDWR:
        return combined(head, adapter, *static_cast<i2c_rdwr_ioctl_data*>(argument));
      case I2C_SMBUS:
        return smbus(head, fd, adapter, *static_cast<i2c_smbus_ioctl_data*>(argument));
      default:
        log.push_back(head + "request " + std::to_string(request));
        return -ENOTTY;
    }
  }

  // I2C_RDWR and I2C_SMBUS calls made.
  int transfers() const { return transfers_; }

  std::map<unsigned, FakeKernelAdapter> adapters;
  std::vector<std::string> log;
  std::map<std::string, int> openErrors;  // path -> errno
  // The errno I2C_FUNCS fails with on an adapter that opened (0: it answers).
  int functionalityError = 0;
  // The errnos the next transfers fail with, front first (0: the transfer goes through).
  std::deque<int> transferErrors;
  // That many transfers go through, then the adapter is gone: ENODEV for every call.
  int transfersBeforeGone = -1;
  std::map<int, unsigned> openFds;  // fd -> adapter number
  int nextFd = 3;

 private:
  static std::string hex(unsigned value) {
    char text[8];
    std::snprintf(text, sizeof text, "%02X", value);
    return text;
  }
  static unsigned numberAt(const std::string& path) {
    return static_cast<unsigned>(std::stoul(path.substr(path.rfind('-') + 1)));
  }
  FakeKernelAdapter* adapterAt(const std::string& path) {
    constexpr const char* kPrefix = "/dev/i2c-";
    if (path.rfind(kPrefix, 0) != 0 || path.size() == 9) return nullptr;
    for (std::size_t i = 9; i < path.size(); ++i) {
      if (path[i] < '0' || path[i] > '9') return nullptr;
    }
    auto found = adapters.find(numberAt(path));
    return found == adapters.end() ? nullptr : &found->second;
  }

  // A transfer's fate before any device sees it: gone, or an injected errno.
  int injectedFailure() {
    ++transfers_;
    if (gone_) return ENODEV;
    if (transfersBeforeGone >= 0 && transfersBeforeGone-- == 0) {
      gone_ = true;
      return ENODEV;
    }
    if (!transferErrors.empty()) {
      const int error = transferErrors.front();
      transferErrors.pop_front();
      return error;
    }
    return 0;
  }

  int combined(const std::string& head, FakeKernelAdapter& adapter, i2c_rdwr_ioctl_data& data) {
    std::string line = head + "I2C_RDWR";
    for (__u32 i = 0; i < data.nmsgs && i < 64; ++i) {
      const i2c_msg& message = data.msgs[i];
      char part[32];
      std::snprintf(part, sizeof part, " %02X/%04X/%u", message.addr, message.flags, message.len);
      line += part;
      if ((message.flags & I2C_M_RD) == 0) {
        line += " [";
        for (__u16 k = 0; k < message.len; ++k) line += (k ? " " : "") + hex(message.buf[k]);
        line += "]";
      }
    }
    log.push_back(line);
    if (data.nmsgs > I2C_RDWR_IOCTL_MAX_MSGS) return -EINVAL;
    for (__u32 i = 0; i < data.nmsgs; ++i) {
      if (data.msgs[i].len > 8192) return -EINVAL;
    }
    if (const int error = injectedFailure()) return -error;
    if ((adapter.functionality & I2C_FUNC_I2C) == 0) return -EOPNOTSUPP;
    for (__u32 i = 0; i < data.nmsgs; ++i) {
      const i2c_msg& message = data.msgs[i];
      auto device = adapter.devices.find(static_cast<std::uint8_t>(message.addr));
      if (device == adapter.devices.end()) return -ENXIO;
      if ((message.flags & I2C_M_RD) != 0) {
        device->second.read(message.buf, message.len);
      } else {
        device->second.write(message.buf, message.len);
      }
    }
    return static_cast<int>(data.nmsgs);
  }

  int smbus(const std::string& head, int fd, FakeKernelAdapter& adapter,
            i2c_smbus_ioctl_data& call) {
    static const std::map<__u32, std::pair<const char*, unsigned long>> sizes{
        {I2C_SMBUS_QUICK, {"QUICK", I2C_FUNC_SMBUS_QUICK}},
        {I2C_SMBUS_BYTE, {"BYTE", I2C_FUNC_SMBUS_BYTE}},
        {I2C_SMBUS_BYTE_DATA, {"BYTE_DATA", I2C_FUNC_SMBUS_BYTE_DATA}},
        {I2C_SMBUS_WORD_DATA, {"WORD_DATA", I2C_FUNC_SMBUS_WORD_DATA}},
        {I2C_SMBUS_I2C_BLOCK_DATA, {"I2C_BLOCK_DATA", I2C_FUNC_SMBUS_I2C_BLOCK}}};
    const bool read = call.read_write == I2C_SMBUS_READ;
    // A block's direction is a function of its own (i2c-stub has both).
    const unsigned long blockFunction =
        read ? I2C_FUNC_SMBUS_READ_I2C_BLOCK : I2C_FUNC_SMBUS_WRITE_I2C_BLOCK;
    const auto size = sizes.find(call.size);
    std::string line = head + "I2C_SMBUS " + (read ? "read " : "write ") +
                       (size == sizes.end() ? "?" : size->second.first);
    if (call.size != I2C_SMBUS_QUICK) line += " " + hex(call.command);
    if (call.size == I2C_SMBUS_BYTE_DATA && !read) line += " " + hex(call.data->byte);
    if (call.size == I2C_SMBUS_WORD_DATA && !read) {
      char word[8];
      std::snprintf(word, sizeof word, " %04X", call.data->word);
      line += word;
    }
    if (call.size == I2C_SMBUS_I2C_BLOCK_DATA) line += " " + std::to_string(call.data->block[0]);
    if (call.size == I2C_SMBUS_I2C_BLOCK_DATA && !read) {
      for (int k = 1; k <= call.data->block[0]; ++k) line += " " + hex(call.data->block[k]);
    }
    log.push_back(line);
    if (const int error = injectedFailure()) return -error;
    const unsigned long function = call.size == I2C_SMBUS_I2C_BLOCK_DATA ? blockFunction
                                   : size == sizes.end()               ? 0
                                                                       : size->second.second;
    if ((adapter.functionality & function) == 0) return -EOPNOTSUPP;
    auto device = adapter.devices.find(slaves_[fd]);
    if (device == adapter.devices.end()) return -ENXIO;
    FakeRegisterDevice& registers = device->second;
    const std::uint8_t command = call.command;
    switch (call.size) {
      case I2C_SMBUS_BYTE:
        if (read) {
          registers.read(&call.data->byte, 1);
        } else {
          registers.write(&command, 1);
        }
        break;
      case I2C_SMBUS_BYTE_DATA:
        registers.write(&command, 1);
        if (read) {
          registers.read(&call.data->byte, 1);
        } else {
          registers.registers[registers.pointer++] = call.data->byte;
        }
        break;
      case I2C_SMBUS_WORD_DATA:
        registers.write(&command, 1);
        registers.registers[registers.pointer++] = static_cast<std::uint8_t>(call.data->word);
        registers.registers[registers.pointer++] = static_cast<std::uint8_t>(call.data->word >> 8);
        break;
      case I2C_SMBUS_I2C_BLOCK_DATA:
        registers.write(&command, 1);
        if (read) {
          registers.read(call.data->block + 1, call.data->block[0]);
        } else {
          for (int k = 1; k <= call.data->block[0]; ++k) {
            registers.registers[registers.pointer++] = call.data->block[k];
          }
        }
        break;
      default:
        break;
    }
    return 0;
  }

  std::map<int, std::uint8_t> slaves_;
  int transfers_ = 0;
  bool gone_ = false;
};

}  // namespace brelvion::testing
