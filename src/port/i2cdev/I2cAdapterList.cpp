#include "port/i2cdev/I2cAdapterList.h"

#include <algorithm>
#include <map>

#include "port/PortChoice.h"

namespace brelvion::port::i2cdev {

std::optional<unsigned> adapterNumberOfEntry(std::string_view entry) {
  const auto choice = PortChoice::parse(entry);
  if (!choice || entry.substr(0, 4) != "i2c-") return std::nullopt;
  return choice->i2cDevAdapter()->number;
}

std::string adapterNameOfFile(std::string_view text) {
  text = text.substr(0, text.find('\n'));
  std::string name;
  for (char ch : text) {
    const auto byte = static_cast<unsigned char>(ch);
    if (byte >= 0x20 && byte < 0x7F) name += ch;
  }
  const std::size_t first = name.find_first_not_of(' ');
  if (first == std::string::npos) return {};
  name = name.substr(first, kLongestAdapterName);
  // Cut before the blanks at the end go, so that a cut among blanks leaves none behind.
  name.erase(name.find_last_not_of(' ') + 1);
  return name;
}

std::vector<I2cAdapterInfo> listI2cAdapters(I2cDevSystemCalls& calls) {
  std::map<unsigned, I2cAdapterInfo> found;
  for (const char* folder : {kI2cDevClassDir, kI2cBusDevicesDir}) {
    for (const std::string& entry : calls.directoryEntries(folder)) {
      const auto number = adapterNumberOfEntry(entry);
      if (!number) continue;
      I2cAdapterInfo& adapter = found[*number];
      adapter.number = *number;
      if (adapter.name.empty()) {
        const auto text = calls.readSmallFile(std::string(folder) + "/" + entry + "/name");
        if (text) adapter.name = adapterNameOfFile(*text);
      }
    }
  }
  for (const std::string& entry : calls.directoryEntries(kDeviceDir)) {
    if (const auto number = adapterNumberOfEntry(entry)) found[*number].number = *number;
  }
  std::vector<I2cAdapterInfo> adapters;
  for (auto& [number, adapter] : found) {
    adapter.nodePresent = calls.exists(adapter.devicePath());
    adapters.push_back(std::move(adapter));
  }
  return adapters;
}

const I2cAdapterInfo* findAdapter(const std::vector<I2cAdapterInfo>& adapters, unsigned number) {
  const auto match = std::find_if(adapters.begin(), adapters.end(),
                                  [&](const I2cAdapterInfo& a) { return a.number == number; });
  return match == adapters.end() ? nullptr : &*match;
}

std::string describeAdapter(const I2cAdapterInfo& adapter) {
  if (adapter.name.empty()) return adapter.adapterName();
  return adapter.adapterName() + ", " + adapter.name;
}

}  // namespace brelvion::port::i2cdev
