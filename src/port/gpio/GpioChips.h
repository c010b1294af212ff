#pragma once

#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

#include "port/gpio/GpioSystemCalls.h"

namespace brelvion::port::gpio {

// One GPIO chip of the kernel's GPIO character device.
struct GpioChip {
  std::string name;  // "gpiochip0"
  std::string path;  // "/dev/gpiochip0" under the root it was found in
  // As the chip reports them; empty when they could not be read (see problem).
  std::string label;
  std::uint32_t lines = 0;
  // Why the chip could not be asked (no permission, say); empty when it answered.
  std::string problem;

  bool operator==(const GpioChip&) const = default;
};

// The chips under root ("/" on a running system), by number: every <root>/dev/gpiochipN,
// each opened and asked for its label and number of lines. Never throws.
std::vector<GpioChip> listGpioChips(GpioSystemCalls& calls,
                                    const std::filesystem::path& root = "/");

// "gpiochip0 'pinctrl-bcm2711' (58 lines), gpiochip1 (cannot be read: Permission denied)".
std::string describeGpioChips(const std::vector<GpioChip>& chips);

// The device a chip as a user names it is at: a path (looked up under root), a number or
// "gpiochipN", else the one chip whose label it is. Throws RuntimeError 53 naming the chips
// there are when none is meant, and when several chips have that label.
std::string gpioChipPath(const std::string& chip, GpioSystemCalls& calls,
                         const std::filesystem::path& root);

// The error for a chip that is not there, naming the chips there are.
[[noreturn]] void throwNoSuchChip(const std::string& chip, GpioSystemCalls& calls,
                                  const std::filesystem::path& root);

}  // namespace brelvion::port::gpio
