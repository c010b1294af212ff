// Port names and the I2C adapter list from any sysfs the kernel (or a fuzzer) could show:
// nothing throws, an accepted port name writes back as itself (GPIO line offsets without
// leading zeros) and parses to the same choice, and every adapter listed comes from an entry that names it, once, in order, with
// a clean name and a node exactly when /dev has one.
//
// Input: fields separated by NUL bytes. The first is a port name. Then pairs: an entry
// (its first byte picks the folder: /sys/class/i2c-dev, /sys/bus/i2c/devices or /dev; the
// rest is its name) and the text of that entry's name file.

#include <algorithm>
#include <cstdint>
#include <map>
#include <set>
#include <string>
#include <vector>

#include "FuzzSupport.h"
#include "port/PortChoice.h"
#include "port/i2cdev/I2cAdapterList.h"

namespace {

using brelvion::port::PortChoice;
using namespace brelvion::port::i2cdev;

std::vector<std::string> splitFields(const std::uint8_t* data, std::size_t size) {
  std::vector<std::string> fields(1);
  for (std::size_t i = 0; i < size; ++i) {
    if (data[i] == 0) {
      fields.emplace_back();
    } else {
      fields.back().push_back(static_cast<char>(data[i]));
    }
  }
  return fields;
}

const char* const kFolders[] = {kI2cDevClassDir, kI2cBusDevicesDir, kDeviceDir};

// The system calls of a machine whose folders hold exactly the fuzzer's entries.
class FuzzedSysfs : public I2cDevSystemCalls {
 public:
  int open(const std::string&, int) override { return -2; }
  int ioctl(int, unsigned long, void*) override { return -9; }
  int close(int) override { return -9; }
  std::vector<std::string> directoryEntries(const std::string& path) override {
    return entries[path];
  }
  std::optional<std::string> readSmallFile(const std::string& path) override {
    const auto found = files.find(path);
    if (found == files.end()) return std::nullopt;
    return found->second;
  }
  bool exists(const std::string& path) override {
    const auto& dev = entries[kDeviceDir];
    return path.rfind("/dev/", 0) == 0 &&
           std::find(dev.begin(), dev.end(), path.substr(5)) != dev.end();
  }

  std::map<std::string, std::vector<std::string>> entries;
  std::map<std::string, std::string> files;
};

void checkPortName(const std::string& text) {
  const auto choice = PortChoice::parse(text);
  if (!choice) return;
  const std::string name = choice->name();
  FUZZ_CHECK(PortChoice::parse(name) == choice, name);
  if (const auto* lines = choice->gpioLines()) {
    // A line offset is written back without its leading zeros, the rest as it was given.
    FUZZ_CHECK(name.size() <= text.size(), text + " -> " + name);
    FUZZ_CHECK(!lines->chip.empty() && lines->scl != lines->sda, name);
    return;
  }
  FUZZ_CHECK(text == name || text == "/dev/" + name, text + " -> " + name);
  if (const auto* lpt = choice->lptPort()) {
    FUZZ_CHECK(lpt->index >= 0 && lpt->index <= 2, name);
  } else {
    FUZZ_CHECK(choice->i2cDevAdapter()->number <= PortChoice::kMaxAdapterNumber, name);
  }
}

void checkAdapterList(FuzzedSysfs& sysfs) {
  std::set<unsigned> named;
  for (const auto& [folder, entries] : sysfs.entries) {
    for (const std::string& entry : entries) {
      if (const auto number = adapterNumberOfEntry(entry)) named.insert(*number);
    }
  }
  const std::vector<I2cAdapterInfo> adapters = listI2cAdapters(sysfs);
  std::set<unsigned> listed;
  unsigned previous = 0;
  for (std::size_t i = 0; i < adapters.size(); ++i) {
    const I2cAdapterInfo& adapter = adapters[i];
    const std::string shown = describeAdapter(adapter);
    FUZZ_CHECK(i == 0 || adapter.number > previous, shown);
    previous = adapter.number;
    listed.insert(adapter.number);
    FUZZ_CHECK(adapter.name.size() <= kLongestAdapterName, shown);
    FUZZ_CHECK(adapter.name.empty() || (adapter.name.front() != ' ' && adapter.name.back() != ' '),
               shown);
    for (char ch : adapter.name) FUZZ_CHECK(ch >= 0x20 && ch < 0x7F, shown);
    FUZZ_CHECK(adapter.nodePresent == sysfs.exists(adapter.devicePath()), shown);
    FUZZ_CHECK(shown.rfind(adapter.adapterName(), 0) == 0, shown);
    FUZZ_CHECK(PortChoice::parse(adapter.devicePath()) == PortChoice::i2cDev(adapter.number), shown);
  }
  FUZZ_CHECK(listed == named, "adapters listed are not those the entries name");
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::vector<std::string> fields = splitFields(data, size);
  checkPortName(fields[0]);
  FuzzedSysfs sysfs;
  for (std::size_t i = 1; i < fields.size(); i += 2) {
    if (fields[i].empty()) continue;
    const std::string folder = kFolders[static_cast<unsigned char>(fields[i][0]) % 3];
    const std::string entry = fields[i].substr(1);
    checkPortName(entry);
    sysfs.entries[folder].push_back(entry);
    if (i + 1 < fields.size()) sysfs.files[folder + "/" + entry + "/name"] = fields[i + 1];
  }
  checkAdapterList(sysfs);
  return 0;
}
