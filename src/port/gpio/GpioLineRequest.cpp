#include "port/gpio/GpioLineRequest.h"

#include <fcntl.h>
#include <linux/gpio.h>

#include <cerrno>
#include <cstring>

#include "base/RuntimeError.h"
#include "port/gpio/GpioChips.h"
#include "port/gpio/GpioText.h"

namespace brelvion::port::gpio {

namespace {

using base::RuntimeError;

// The kernel's own "not supported" (ENOTSUPP), which reaches user space from some drivers.
constexpr int kKernelNotSupported = 524;

// What a chip answers to a configuration it cannot give its lines.
bool unsupported(int error) {
  return error == EINVAL || error == EOPNOTSUPP || error == kKernelNotSupported || error == EIO ||
         error == ENOSYS;
}

struct OpenChip {
  GpioSystemCalls& calls;
  int fd;
  std::string path;
  std::string name;
  std::uint32_t lines = 0;
  ~OpenChip() { calls.close(fd); }
};

std::string roleOf(int index) { return index == kSclIndex ? "SCL" : "SDA"; }

[[noreturn]] void throwOpenFailed(int error, const std::string& chip, const std::string& path,
                                  GpioSystemCalls& calls, const std::filesystem::path& root) {
  switch (error) {
    case ENOENT:
    case ENODEV:
    case ENXIO:
      throwNoSuchChip(chip, calls, root);
    case EACCES:
    case EPERM:
      throw RuntimeError(RuntimeError::kPermissionDenied, "GPIO",
                         "Permission denied on " + path +
                             ": add your user to the group 'gpio' (sudo adduser $USER gpio) and "
                             "log in again, or run as root");
    default:
      throw RuntimeError(RuntimeError::kDeviceUnavailable, "GPIO",
                         "Cannot open " + path + ": " + errnoText(error));
  }
}

// asking: what was asked for, "the chip information" or "the line information".
[[noreturn]] void throwChipFailed(const OpenChip& chip, const char* asking, int error) {
  if (error == ENODEV) throwAccessFailed(chip.path, error);
  if (error == ENOTTY || error == EINVAL) {
    throw RuntimeError(RuntimeError::kDeviceUnavailable, "GPIO",
                       chip.path + " does not give " + asking + " (" + errnoText(error) +
                           "): it is not a GPIO chip, or the kernel is older than Linux 5.10, "
                           "which brought version 2 of the GPIO character device");
  }
  throw RuntimeError(RuntimeError::kDeviceUnavailable, "GPIO",
                     "Cannot read " + std::string(asking) + " of " + chip.path + ": " +
                         errnoText(error));
}

gpio_v2_line_info lineInfo(const OpenChip& chip, std::uint32_t offset) {
  gpio_v2_line_info info{};
  info.offset = offset;
  const int result = chip.calls.ioctl(chip.fd, GPIO_V2_GET_LINEINFO_IOCTL, &info);
  if (result < 0) throwChipFailed(chip, "the line information", -result);
  return info;
}

std::uint32_t findLine(const OpenChip& chip, const GpioLineName& line, int index) {
  if (line.offset) {
    if (*line.offset < chip.lines) return *line.offset;
    throw RuntimeError(RuntimeError::kFileNotFound, "GPIO",
                       chip.name + " has no line " + std::to_string(*line.offset) + " for " +
                           roleOf(index) + ": its " + std::to_string(chip.lines) +
                           " lines are 0 to " + std::to_string(chip.lines - 1));
  }
  for (std::uint32_t offset = 0; offset < chip.lines; ++offset) {
    if (kernelString(lineInfo(chip, offset).name) == line.name) return offset;
  }
  throw RuntimeError(RuntimeError::kFileNotFound, "GPIO",
                     chip.name + " has no line named " + quotedName(line.name) + " for " +
                         roleOf(index) +
                         " (names are case-sensitive; gpioinfo lists a chip's lines), or give "
                         "the line's offset");
}

[[noreturn]] void throwBusy(const OpenChip& chip, const gpio_v2_line_info& info, int index) {
  const std::string name = kernelString(info.name);
  const std::string consumer = kernelString(info.consumer);
  std::string line = "Line " + std::to_string(info.offset);
  if (!name.empty()) line += " (" + name + ")";
  throw RuntimeError(
      RuntimeError::kDeviceUnavailable, "GPIO",
      line + " of " + chip.name + ", chosen for " + roleOf(index) + ", is in use" +
          (consumer.empty() ? " by a kernel driver or another program that gives no name"
                            : " by " + quotedName(consumer)) +
          ". Unbind that driver (or remove its device-tree overlay) or end that program, then "
          "try again");
}

void checkFree(const OpenChip& chip, const std::array<std::uint32_t, 2>& offsets) {
  for (int index : {kSclIndex, kSdaIndex}) {
    const gpio_v2_line_info info = lineInfo(chip, offsets[static_cast<std::size_t>(index)]);
    if ((info.flags & GPIO_V2_LINE_FLAG_USED) != 0) throwBusy(chip, info, index);
  }
}

gpio_v2_line_request lineRequest(const GpioLineRequest& lines) {
  gpio_v2_line_request request{};
  request.offsets[kSclIndex] = lines.offsets[kSclIndex];
  request.offsets[kSdaIndex] = lines.offsets[kSdaIndex];
  request.num_lines = 2;
  std::strncpy(request.consumer, kGpioConsumer, sizeof request.consumer - 1);
  request.config.flags = releasedLineFlags(lines);
  if (lines.openDrain) {
    request.config.num_attrs = 1;
    request.config.attrs[0].attr.id = GPIO_V2_LINE_ATTR_ID_OUTPUT_VALUES;
    request.config.attrs[0].attr.values = 0b11;
    request.config.attrs[0].mask = 0b11;
  }
  return request;
}

std::string linesText(const GpioLineRequest& lines) {
  return "lines " + std::to_string(lines.offsets[kSclIndex]) + " and " +
         std::to_string(lines.offsets[kSdaIndex]);
}

// Open drain with pull-up first; each configuration the chip refuses gives way to the next.
void request(const OpenChip& chip, GpioLineRequest& lines) {
  int openDrainError = 0;
  int error = 0;
  for (const bool openDrain : {true, false}) {
    for (const bool pullUp : {true, false}) {
      lines.openDrain = openDrain;
      lines.pullUp = pullUp;
      gpio_v2_line_request request = lineRequest(lines);
      const int result = chip.calls.ioctl(chip.fd, GPIO_V2_GET_LINE_IOCTL, &request);
      if (result >= 0) {
        lines.fd = request.fd;
        if (!openDrain) {
          lines.notice = chip.name + " cannot make " + linesText(lines) +
                         " open-drain outputs (" + errnoText(openDrainError) +
                         "): they switch between input (released) and output low instead";
        }
        return;
      }
      error = -result;
      if (error == EBUSY) checkFree(chip, lines.offsets);
      if (!unsupported(error)) break;
      if (openDrain) openDrainError = error;
    }
    if (!unsupported(error)) break;
  }
  if (error == ENODEV) throwAccessFailed(chip.path, error);
  throw RuntimeError(RuntimeError::kDeviceUnavailable, "GPIO",
                     "Cannot request " + linesText(lines) + " of " + chip.path + ": " +
                         errnoText(error));
}

// Some chips cannot read an output back: then the lines switch direction, and a released
// line, an input, reads the wire.
void checkReadBack(GpioSystemCalls& calls, GpioLineRequest& lines, const std::string& chipName) {
  if (!lines.openDrain) return;
  gpio_v2_line_values values{0, 0b11};
  const int result = calls.ioctl(lines.fd, GPIO_V2_LINE_GET_VALUES_IOCTL, &values);
  if (result >= 0) return;
  if (!unsupported(-result)) {
    calls.close(lines.fd);
    throwAccessFailed(lines.chipPath, -result);
  }
  lines.openDrain = false;
  gpio_v2_line_config config{};
  config.flags = releasedLineFlags(lines);
  const int configured = calls.ioctl(lines.fd, GPIO_V2_LINE_SET_CONFIG_IOCTL, &config);
  if (configured < 0) {
    calls.close(lines.fd);
    throwAccessFailed(lines.chipPath, -configured);
  }
  lines.notice = chipName + " cannot read back its open-drain outputs (" + errnoText(-result) +
                 "): " + linesText(lines) +
                 " switch between input (released) and output low instead";
}

}  // namespace

std::uint64_t releasedLineFlags(const GpioLineRequest& request) {
  const std::uint64_t bias = request.pullUp ? std::uint64_t{GPIO_V2_LINE_FLAG_BIAS_PULL_UP} : 0;
  if (request.openDrain) return GPIO_V2_LINE_FLAG_OUTPUT | GPIO_V2_LINE_FLAG_OPEN_DRAIN | bias;
  return GPIO_V2_LINE_FLAG_INPUT | bias;
}

std::uint64_t pulledLineFlags(const GpioLineRequest& request) {
  if (request.openDrain) return releasedLineFlags(request);
  return GPIO_V2_LINE_FLAG_OUTPUT;
}

void throwAccessFailed(const std::string& chipPath, int error) {
  std::string text = "Access to " + chipPath + " failed: " + errnoText(error);
  if (error == ENODEV) {
    text += ". The GPIO chip is gone (a USB GPIO bridge unplugged?): plug it back in and run "
            "the command again";
  }
  throw RuntimeError(RuntimeError::kDeviceUnavailable, "GPIO", text);
}

GpioLineRequest requestGpioLines(const GpioLinesChoice& choice, GpioSystemCalls& calls,
                                 const std::filesystem::path& root) {
  GpioLineRequest lines;
  lines.chipPath = gpioChipPath(choice.chip, calls, root);
  const int fd = calls.open(lines.chipPath, O_RDWR);
  if (fd < 0) throwOpenFailed(-fd, choice.chip, lines.chipPath, calls, root);
  OpenChip chip{calls, fd, lines.chipPath, {}, 0};
  gpiochip_info info{};
  const int result = calls.ioctl(fd, GPIO_GET_CHIPINFO_IOCTL, &info);
  if (result < 0) throwChipFailed(chip, "the chip information", -result);
  chip.name = kernelString(info.name);
  chip.lines = info.lines;

  lines.offsets = {findLine(chip, choice.scl, kSclIndex), findLine(chip, choice.sda, kSdaIndex)};
  if (lines.offsets[kSclIndex] == lines.offsets[kSdaIndex]) {
    throw RuntimeError(RuntimeError::kInvalidCall, "GPIO",
                       "SCL and SDA are both line " + std::to_string(lines.offsets[kSclIndex]) +
                           " of " + chip.name + ": choose two different lines");
  }
  checkFree(chip, lines.offsets);
  request(chip, lines);
  checkReadBack(calls, lines, chip.name);
  return lines;
}

}  // namespace brelvion::port::gpio
