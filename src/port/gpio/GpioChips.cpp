#include "port/gpio/GpioChips.h"

#include <fcntl.h>
#include <linux/gpio.h>

#include <algorithm>
#include <cstring>
#include <optional>
#include <string_view>
#include <system_error>

#include "base/RuntimeError.h"
#include "base/Text.h"
#include "port/gpio/GpioText.h"

namespace brelvion::port::gpio {

namespace {

namespace fs = std::filesystem;

constexpr std::string_view kChipPrefix = "gpiochip";

std::optional<unsigned> chipNumber(std::string_view name) {
  return base::numberAfterPrefix(name, kChipPrefix, 6);
}

GpioChip askChip(GpioSystemCalls& calls, std::string name, const fs::path& path) {
  GpioChip chip{std::move(name), path.string(), {}, 0, {}};
  const int fd = calls.open(chip.path, O_RDWR);
  if (fd < 0) {
    chip.problem = "cannot be opened: " + errnoText(-fd);
    return chip;
  }
  gpiochip_info info{};
  const int result = calls.ioctl(fd, GPIO_GET_CHIPINFO_IOCTL, &info);
  calls.close(fd);
  if (result < 0) {
    chip.problem = "does not answer as a GPIO chip: " + errnoText(-result);
    return chip;
  }
  chip.label = kernelString(info.label);
  chip.lines = info.lines;
  return chip;
}

}  // namespace

std::vector<GpioChip> listGpioChips(GpioSystemCalls& calls, const fs::path& root) {
  std::vector<std::pair<unsigned, std::string>> found;
  std::error_code error;
  for (fs::directory_iterator it(root / "dev", error), end; !error && it != end;
       it.increment(error)) {
    const std::string name = it->path().filename().string();
    if (const auto number = chipNumber(name)) found.emplace_back(*number, name);
  }
  std::sort(found.begin(), found.end());
  std::vector<GpioChip> chips;
  for (const auto& [number, name] : found) chips.push_back(askChip(calls, name, root / "dev" / name));
  return chips;
}

std::string describeGpioChips(const std::vector<GpioChip>& chips) {
  std::string text;
  for (const GpioChip& chip : chips) {
    if (!text.empty()) text += ", ";
    text += chip.name;
    if (!chip.problem.empty()) {
      text += " (" + chip.problem + ")";
      continue;
    }
    if (!chip.label.empty()) text += " " + quotedName(chip.label);
    text += " (" + std::to_string(chip.lines) + (chip.lines == 1 ? " line)" : " lines)");
  }
  return text;
}

void throwNoSuchChip(const std::string& chip, GpioSystemCalls& calls, const fs::path& root) {
  const std::vector<GpioChip> chips = listGpioChips(calls, root);
  const std::string what = "No GPIO chip " + quotedName(chip);
  if (chips.empty()) {
    throw base::RuntimeError(base::RuntimeError::kFileNotFound, "GPIO",
                             what + ": this system has no GPIO chips (no /dev/gpiochip devices). "
                                    "Load the driver of the board's GPIO controller or of the "
                                    "USB GPIO bridge");
  }
  throw base::RuntimeError(base::RuntimeError::kFileNotFound, "GPIO",
                           what + ": found " + describeGpioChips(chips) +
                               ". Name one of those, by name, number or label");
}

std::string gpioChipPath(const std::string& chip, GpioSystemCalls& calls, const fs::path& root) {
  if (!chip.empty() && chip.front() == '/') return (root / fs::path(chip).relative_path()).string();
  if (allDigits(chip)) return (root / "dev" / (std::string(kChipPrefix) + chip)).string();
  if (chipNumber(chip)) return (root / "dev" / chip).string();

  const std::vector<GpioChip> chips = listGpioChips(calls, root);
  std::vector<const GpioChip*> labelled;
  for (const GpioChip& candidate : chips) {
    if (candidate.label == chip) labelled.push_back(&candidate);
  }
  if (labelled.size() == 1) return labelled.front()->path;
  if (labelled.empty()) throwNoSuchChip(chip, calls, root);
  std::string names;
  for (const GpioChip* candidate : labelled) names += (names.empty() ? "" : ", ") + candidate->name;
  throw base::RuntimeError(base::RuntimeError::kFileNotFound, "GPIO",
                           "Several GPIO chips are labelled " + quotedName(chip) + ": " + names +
                               ". Name the one you mean by its name");
}

}  // namespace brelvion::port::gpio
