#pragma once

#include <linux/gpio.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <set>
#include <string>
#include <vector>

#include "port/StepTimer.h"
#include "port/gpio/GpioSystemCalls.h"
#include "simulator/SimulatedI2cBus.h"

namespace brelvion::testing {

// The kernel's GPIO character device v2 without a GPIO chip: chips with lines, opened
// through a throw-away root (root()/dev/gpiochipN), answering the chip-information,
// line-information, line-request, get/set-values and set-config calls as linux/gpio.h
// describes them. Two lines of a chip can be wired to a simulated bus as its master's SCL
// and SDA: a released line (an input, or an open-drain output at 1) lets the wire float up,
// a line at 0 pulls it low, and a read gives the wire's level, slaves and a stretched
// clock included.
//
// Each line set, read and reconfiguration is an event, and the rarer calls are lines of
// `log`, so a test sees the request's flags, the values written and the lines read.
class FakeGpioKernel : public port::gpio::GpioSystemCalls {
 public:
  struct Line {
    std::string name;
    // Another user of the line: a kernel driver, another program.
    std::string consumer;
    bool used = false;
  };
  struct Chip {
    std::string name;
    std::string label;
    std::vector<Line> lines;
    // What the chip can do. A chip without open drain or bias refuses the flags (EINVAL,
    // the kernel's ENOTSUPP); one that cannot read outputs fails reading them (EIO).
    bool openDrain = true;
    bool bias = true;
    bool readsOutputs = true;
    bool removed = false;
    // The lines wired to the bus.
    std::optional<std::uint32_t> sclOffset;
    std::optional<std::uint32_t> sdaOffset;
    simulator::SimulatedI2cBus* bus = nullptr;
  };
  enum class Kind { Set, Get, Config };
  struct Event {
    Kind kind;
    std::uint32_t offset;
    // Set: the value written; Get: the value read; Config: true for an input.
    bool value;
    std::int64_t timeNs;
    bool operator==(const Event& other) const {
      return kind == other.kind && offset == other.offset && value == other.value;
    }
  };

  FakeGpioKernel() {
    static int made = 0;
    root_ = std::filesystem::temp_directory_path() /
            ("brelvion-gpio-" + std::to_string(::getpid()) + "-" + std::to_string(made++));
    std::filesystem::remove_all(root_);
    std::filesystem::create_directories(root_ / "dev");
  }
  ~FakeGpioKernel() override {
    std::error_code ignored;
    std::filesystem::remove_all(root_, ignored);
  }
  FakeGpioKernel(const FakeGpioKernel&) = delete;
  FakeGpioKernel& operator=(const FakeGpioKernel&) = delete;

  // A chip of `lines` lines named "GPIO0", "GPIO1", ... (rename them through the result).
  Chip& addChip(const std::string& name, const std::string& label, std::uint32_t lines) {
    auto chip = std::make_unique<Chip>();
    chip->name = name;
    chip->label = label;
    for (std::uint32_t i = 0; i < lines; ++i) chip->lines.push_back({"GPIO" + std::to_string(i), {}, false});
    std::ofstream{path(name)};
    chips_[path(name)] = std::move(chip);
    return *chips_[path(name)];
  }
  void wire(Chip& chip, std::uint32_t scl, std::uint32_t sda,
            simulator::SimulatedI2cBus& bus) {
    chip.sclOffset = scl;
    chip.sdaOffset = sda;
    chip.bus = &bus;
  }
  // The chip goes away, as an unplugged USB bridge does: its node disappears and every call
  // on an open descriptor of it fails with ENODEV.
  void remove(Chip& chip) {
    chip.removed = true;
    std::filesystem::remove(path(chip.name));
  }

  const std::filesystem::path& root() const { return root_; }
  std::string path(const std::string& chip) const { return (root_ / "dev" / chip).string(); }

  int open(const std::string& path, int) override {
    log.push_back("open " + path);
    if (auto error = openErrors.find(path); error != openErrors.end()) return -error->second;
    const auto chip = chips_.find(path);
    if (chip == chips_.end() || chip->second->removed) return -ENOENT;
    descriptors_[nextFd_] = {chip->second.get(), false, {}};
    return nextFd_++;
  }

  int close(int fd) override {
    log.push_back("close " + std::to_string(fd));
    const auto found = descriptors_.find(fd);
    if (found == descriptors_.end()) return -EBADF;
    if (found->second.request) {
      for (const Requested& line : found->second.lines) {
        found->second.chip->lines[line.offset].used = false;
        found->second.chip->lines[line.offset].consumer.clear();
      }
    }
    Chip& chip = *found->second.chip;
    descriptors_.erase(found);
    driveBus(chip);
    return 0;
  }

  int ioctl(int fd, unsigned long request, void* argument) override {
    const auto found = descriptors_.find(fd);
    if (found == descriptors_.end()) return -EBADF;
    Descriptor& descriptor = found->second;
    if (descriptor.request && removeAfterCalls >= 0 && removeAfterCalls-- == 0) {
      remove(*descriptor.chip);
    }
    if (descriptor.chip->removed) return -ENODEV;
    if (descriptor.chip->bus != nullptr) descriptor.chip->bus->advanceTo(clock());
    switch (request) {
      case GPIO_GET_CHIPINFO_IOCTL:
        return chipInfo(fd, *descriptor.chip, *static_cast<gpiochip_info*>(argument));
      case GPIO_V2_GET_LINEINFO_IOCTL:
        return lineInfo(fd, *descriptor.chip, *static_cast<gpio_v2_line_info*>(argument));
      case GPIO_V2_GET_LINE_IOCTL:
        return requestLines(*descriptor.chip, *static_cast<gpio_v2_line_request*>(argument));
      case GPIO_V2_LINE_SET_VALUES_IOCTL:
        return setValues(descriptor, *static_cast<gpio_v2_line_values*>(argument));
      case GPIO_V2_LINE_GET_VALUES_IOCTL:
        return getValues(descriptor, *static_cast<gpio_v2_line_values*>(argument));
      case GPIO_V2_LINE_SET_CONFIG_IOCTL:
        return configure(descriptor, *static_cast<gpio_v2_line_config*>(argument));
      default:
        return -ENOTTY;
    }
  }

  std::vector<std::string> log;
  std::vector<Event> events;
  // False: no events are kept (for timing the lines themselves).
  bool keepEvents = true;
  std::map<std::string, int> openErrors;  // path -> errno
  // Calls on a line request that succeed before the chip goes away; negative for never.
  int removeAfterCalls = -1;
  // The bus's time at each call, which a slave's clock stretch runs on.
  std::function<std::int64_t()> clock = [] { return port::monotonicNanos(); };
  // Output lines set to 1 without open drain: they would drive the bus high.
  int drivenHigh = 0;

  std::size_t openDescriptors() const { return descriptors_.size(); }

 private:
  struct Requested {
    std::uint32_t offset;
    std::uint64_t flags;
    bool value;
  };
  struct Descriptor {
    Chip* chip;
    bool request;
    std::vector<Requested> lines;
  };

  static std::string flagsText(std::uint64_t flags) {
    static const std::vector<std::pair<std::uint64_t, const char*>> names{
        {GPIO_V2_LINE_FLAG_INPUT, "input"},
        {GPIO_V2_LINE_FLAG_OUTPUT, "output"},
        {GPIO_V2_LINE_FLAG_OPEN_DRAIN, "open-drain"},
        {GPIO_V2_LINE_FLAG_OPEN_SOURCE, "open-source"},
        {GPIO_V2_LINE_FLAG_BIAS_PULL_UP, "pull-up"},
        {GPIO_V2_LINE_FLAG_BIAS_PULL_DOWN, "pull-down"},
        {GPIO_V2_LINE_FLAG_BIAS_DISABLED, "bias-disabled"},
        {GPIO_V2_LINE_FLAG_ACTIVE_LOW, "active-low"}};
    std::string text;
    for (const auto& [flag, name] : names) {
      if ((flags & flag) != 0) text += (text.empty() ? "" : ",") + std::string(name);
    }
    return text.empty() ? "none" : text;
  }

  static void copyName(char (&field)[GPIO_MAX_NAME_SIZE], const std::string& text) {
    const std::size_t length = std::min(text.size(), sizeof field - 1);
    text.copy(field, length);
    field[length] = '\0';
  }

  int chipInfo(int fd, const Chip& chip, gpiochip_info& info) {
    log.push_back("chipinfo " + std::to_string(fd));
    info = {};
    copyName(info.name, chip.name);
    copyName(info.label, chip.label);
    info.lines = static_cast<std::uint32_t>(chip.lines.size());
    return 0;
  }

  int lineInfo(int fd, const Chip& chip, gpio_v2_line_info& info) {
    log.push_back("lineinfo " + std::to_string(fd) + " " + std::to_string(info.offset));
    if (info.offset >= chip.lines.size()) return -EINVAL;
    const std::uint32_t offset = info.offset;
    const Line& line = chip.lines[offset];
    info = {};
    info.offset = offset;
    copyName(info.name, line.name);
    copyName(info.consumer, line.consumer);
    if (line.used) info.flags |= GPIO_V2_LINE_FLAG_USED;
    return 0;
  }

  // The flags the chip takes: an error when it refuses them.
  static int checkFlags(const Chip& chip, std::uint64_t flags) {
    const bool input = (flags & GPIO_V2_LINE_FLAG_INPUT) != 0;
    const bool output = (flags & GPIO_V2_LINE_FLAG_OUTPUT) != 0;
    const bool openDrain = (flags & GPIO_V2_LINE_FLAG_OPEN_DRAIN) != 0;
    const bool bias = (flags & (GPIO_V2_LINE_FLAG_BIAS_PULL_UP | GPIO_V2_LINE_FLAG_BIAS_PULL_DOWN |
                                GPIO_V2_LINE_FLAG_BIAS_DISABLED)) != 0;
    if ((input && output) || (openDrain && !output)) return -EINVAL;
    if (openDrain && !chip.openDrain) return -EINVAL;
    if (bias && !chip.bias) return -524;  // the kernel's ENOTSUPP
    return 0;
  }

  // The flags and value a line gets from a configuration: an attribute that names the line
  // overrides the default flags, the first one of each kind counting, as in the kernel. An
  // output given no value outputs 0.
  static void applyConfig(const gpio_v2_line_config& config, std::size_t index,
                          Requested& line) {
    const std::uint64_t bit = std::uint64_t{1} << index;
    line.flags = config.flags;
    line.value = false;
    bool flagsSeen = false;
    bool valueSeen = false;
    for (std::uint32_t i = 0; i < config.num_attrs && i < GPIO_V2_LINE_NUM_ATTRS_MAX; ++i) {
      const auto& attribute = config.attrs[i];
      if ((attribute.mask & bit) == 0) continue;
      if (attribute.attr.id == GPIO_V2_LINE_ATTR_ID_FLAGS && !flagsSeen) {
        line.flags = attribute.attr.flags;
        flagsSeen = true;
      }
      if (attribute.attr.id == GPIO_V2_LINE_ATTR_ID_OUTPUT_VALUES && !valueSeen) {
        line.value = (attribute.attr.values & bit) != 0;
        valueSeen = true;
      }
    }
  }

  int requestLines(Chip& chip, gpio_v2_line_request& request) {
    std::string line = "request " + chip.name + " lines";
    for (std::uint32_t i = 0; i < request.num_lines && i < GPIO_V2_LINES_MAX; ++i) {
      line += (i == 0 ? " " : ",") + std::to_string(request.offsets[i]);
    }
    line += " flags " + flagsText(request.config.flags) + " consumer " +
            std::string(request.consumer);
    log.push_back(line);
    if (request.num_lines < 1 || request.num_lines > GPIO_V2_LINES_MAX) return -EINVAL;
    Descriptor descriptor{&chip, true, {}};
    for (std::uint32_t i = 0; i < request.num_lines; ++i) {
      const std::uint32_t offset = request.offsets[i];
      if (offset >= chip.lines.size()) return -EINVAL;
      if (chip.lines[offset].used) return -EBUSY;
      Requested requested{offset, 0, false};
      applyConfig(request.config, i, requested);
      if (const int refused = checkFlags(chip, requested.flags); refused < 0) return refused;
      descriptor.lines.push_back(requested);
    }
    for (const Requested& requested : descriptor.lines) {
      chip.lines[requested.offset].used = true;
      chip.lines[requested.offset].consumer = request.consumer;
    }
    request.fd = nextFd_;
    descriptors_[nextFd_++] = descriptor;
    driveBus(chip);
    return 0;
  }

  void note(Kind kind, std::uint32_t offset, bool value) {
    if (keepEvents) events.push_back({kind, offset, value, port::monotonicNanos()});
  }

  int setValues(Descriptor& descriptor, const gpio_v2_line_values& values) {
    if (!descriptor.request) return -ENOTTY;
    for (std::size_t i = 0; i < descriptor.lines.size(); ++i) {
      const std::uint64_t bit = std::uint64_t{1} << i;
      if ((values.mask & bit) == 0) continue;
      Requested& line = descriptor.lines[i];
      if ((line.flags & GPIO_V2_LINE_FLAG_OUTPUT) == 0) return -EPERM;
      line.value = (values.bits & bit) != 0;
      note(Kind::Set, line.offset, line.value);
    }
    driveBus(*descriptor.chip);
    return 0;
  }

  int getValues(Descriptor& descriptor, gpio_v2_line_values& values) {
    if (!descriptor.request) return -ENOTTY;
    std::uint64_t bits = 0;
    for (std::size_t i = 0; i < descriptor.lines.size(); ++i) {
      const std::uint64_t bit = std::uint64_t{1} << i;
      if ((values.mask & bit) == 0) continue;
      const Requested& line = descriptor.lines[i];
      const bool output = (line.flags & GPIO_V2_LINE_FLAG_OUTPUT) != 0;
      if (output && !descriptor.chip->readsOutputs) return -EIO;
      const bool level = wireLevel(*descriptor.chip, line);
      note(Kind::Get, line.offset, level);
      if (level) bits |= bit;
    }
    values.bits = bits;
    return 0;
  }

  int configure(Descriptor& descriptor, const gpio_v2_line_config& config) {
    if (!descriptor.request) return -ENOTTY;
    std::vector<Requested> lines = descriptor.lines;
    for (std::size_t i = 0; i < lines.size(); ++i) {
      applyConfig(config, i, lines[i]);
      if (const int refused = checkFlags(*descriptor.chip, lines[i].flags); refused < 0) {
        return refused;
      }
    }
    descriptor.lines = lines;
    for (const Requested& line : lines) {
      note(Kind::Config, line.offset, (line.flags & GPIO_V2_LINE_FLAG_OUTPUT) == 0);
    }
    driveBus(*descriptor.chip);
    return 0;
  }

  // Whether a requested line lets its wire float up.
  bool releases(const Requested& line) {
    if ((line.flags & GPIO_V2_LINE_FLAG_OUTPUT) == 0) return true;
    if (!line.value) return false;
    if ((line.flags & GPIO_V2_LINE_FLAG_OPEN_DRAIN) == 0) ++drivenHigh;
    return true;
  }

  const Requested* requested(const Chip& chip, std::optional<std::uint32_t> offset) const {
    if (!offset) return nullptr;
    for (const auto& [fd, descriptor] : descriptors_) {
      if (descriptor.chip != &chip || !descriptor.request) continue;
      for (const Requested& line : descriptor.lines) {
        if (line.offset == *offset) return &line;
      }
    }
    return nullptr;
  }

  void driveBus(Chip& chip) {
    if (chip.bus == nullptr) return;
    const Requested* scl = requested(chip, chip.sclOffset);
    const Requested* sda = requested(chip, chip.sdaOffset);
    chip.bus->driveMaster(scl == nullptr || releases(*scl), sda == nullptr || releases(*sda));
  }

  bool wireLevel(const Chip& chip, const Requested& line) const {
    if (chip.bus != nullptr && chip.sclOffset == line.offset) return chip.bus->scl();
    if (chip.bus != nullptr && chip.sdaOffset == line.offset) return chip.bus->sda();
    return (line.flags & GPIO_V2_LINE_FLAG_OUTPUT) == 0 || line.value;
  }

  std::filesystem::path root_;
  std::map<std::string, std::unique_ptr<Chip>> chips_;
  std::map<int, Descriptor> descriptors_;
  int nextFd_ = 3;
};

}  // namespace brelvion::testing
