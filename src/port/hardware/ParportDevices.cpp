#include "port/hardware/ParportDevices.h"

#include <algorithm>
#include <charconv>
#include <fstream>
#include <map>
#include <string_view>
#include <system_error>

#include "base/Text.h"
#include "port/LptRegisters.h"
#include "port/hardware/PortAddressText.h"

namespace brelvion::port::hardware {

namespace {

namespace fs = std::filesystem;

constexpr std::string_view kPortPrefix = "parport";

// The first field of a base-addr file; the second, the ECP register block, is of no use here.
std::optional<std::uint64_t> readBase(const fs::path& file) {
  std::ifstream in(file);
  std::string field;
  if (!(in >> field)) return std::nullopt;
  std::uint64_t base = 0;
  const auto [end, error] = std::from_chars(field.data(), field.data() + field.size(), base);
  if (error != std::errc{} || end != field.data() + field.size()) return std::nullopt;
  return base;
}

// Calls visit(number, entry) for each "parportN" entry of directory, if it can be read;
// other names (such as the "default" settings directory beside the ports) are passed over.
template <typename Visit>
void forEachPortEntry(const fs::path& directory, Visit visit) {
  std::error_code error;
  fs::directory_iterator entries(directory, error);
  if (error) return;
  for (const fs::directory_entry& entry : entries) {
    const std::string name = entry.path().filename().string();
    if (const auto number = base::numberAfterPrefix(name, kPortPrefix, 4)) visit(*number, entry);
  }
}

}  // namespace

std::vector<ParportDevice> listParportDevices(const fs::path& root) {
  std::map<unsigned, ParportDevice> byNumber;
  const fs::path devDirectory = root / "dev";
  auto deviceFor = [&](unsigned number) -> ParportDevice& {
    ParportDevice& device = byNumber[number];
    if (device.name.empty()) {
      device.name = std::string(kPortPrefix) + std::to_string(number);
      device.devicePath = (devDirectory / device.name).string();
    }
    return device;
  };

  forEachPortEntry(root / "proc/sys/dev/parport",
                   [&](unsigned number, const fs::directory_entry& entry) {
                     deviceFor(number).base = readBase(entry.path() / "base-addr");
                   });
  forEachPortEntry(devDirectory, [&](unsigned number, const fs::directory_entry&) {
    deviceFor(number).nodePresent = true;
  });

  std::vector<ParportDevice> devices;
  devices.reserve(byNumber.size());
  for (auto& [number, device] : byNumber) devices.push_back(std::move(device));
  return devices;
}

bool anyUsableParport(const std::vector<ParportDevice>& devices) {
  return std::any_of(devices.begin(), devices.end(), [](const ParportDevice& device) {
    return device.nodePresent && device.base && isLptBase(*device.base);
  });
}

const ParportDevice* lptPortWithoutNode(const std::vector<ParportDevice>& devices) {
  const auto found = std::find_if(devices.begin(), devices.end(), [](const ParportDevice& device) {
    return !device.nodePresent && device.base && isLptBase(*device.base);
  });
  return found == devices.end() ? nullptr : &*found;
}

std::optional<std::size_t> usableLptIndexInsteadOf(const std::vector<ParportDevice>& devices,
                                                   std::uint16_t base) {
  std::optional<std::size_t> other;
  for (const ParportDevice& device : devices) {
    if (!device.nodePresent || !device.base || !isLptBase(*device.base)) continue;
    if (*device.base == base) return std::nullopt;
    if (!other) other = lptIndex(*device.base);
  }
  return other;
}

std::string describeParportDevices(const std::vector<ParportDevice>& devices) {
  std::string text;
  for (const ParportDevice& device : devices) {
    if (!text.empty()) text += ", ";
    text += device.devicePath;
    text += device.base ? " at " + portAddressText(*device.base) : " at an unknown address";
    if (!device.nodePresent) text += " (no device node)";
  }
  return text;
}

}  // namespace brelvion::port::hardware
