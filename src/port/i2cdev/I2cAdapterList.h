#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "port/i2cdev/I2cDevSystemCalls.h"

namespace brelvion::port::i2cdev {

// Where the kernel lists its I2C adapters. The first exists only with the i2c-dev module
// loaded; the second for every adapter, among the devices on them ("0-0050").
inline constexpr const char* kI2cDevClassDir = "/sys/class/i2c-dev";
inline constexpr const char* kI2cBusDevicesDir = "/sys/bus/i2c/devices";
inline constexpr const char* kDeviceDir = "/dev";

// Longest adapter name shown; the kernel keeps them under 48 characters.
inline constexpr std::size_t kLongestAdapterName = 96;

// One I2C adapter the kernel knows.
struct I2cAdapterInfo {
  unsigned number = 0;
  // As the kernel names it ("CP2112 SMBus Bridge on hidraw0"); empty when it does not say.
  std::string name;
  // Whether /dev/i2c-<number> exists: without the i2c-dev module there is nothing to open.
  bool nodePresent = false;

  std::string adapterName() const { return "i2c-" + std::to_string(number); }
  std::string devicePath() const { return std::string(kDeviceDir) + "/" + adapterName(); }
  bool operator==(const I2cAdapterInfo&) const = default;
};

// The adapter number of a directory entry "i2c-N" (N decimal, no leading zeros); nothing
// for any other entry, such as a device "0-0050".
std::optional<unsigned> adapterNumberOfEntry(std::string_view entry);

// A sysfs name file's text as the adapter's name: its first line, blanks at either end
// removed, control and non-ASCII bytes dropped, at most kLongestAdapterName characters.
std::string adapterNameOfFile(std::string_view text);

// Every adapter found in the two sysfs folders or as a node in /dev, by number; its name
// from the first sysfs folder that has one. Never throws.
std::vector<I2cAdapterInfo> listI2cAdapters(I2cDevSystemCalls& calls);

// The adapter of that number in the list, if there is one.
const I2cAdapterInfo* findAdapter(const std::vector<I2cAdapterInfo>& adapters, unsigned number);

// "i2c-3, CP2112 SMBus Bridge on hidraw0", or "i2c-3" for an adapter without a name.
std::string describeAdapter(const I2cAdapterInfo& adapter);

}  // namespace brelvion::port::i2cdev
