#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace brelvion::port::gpio {

// One line of a GPIO chip as a user names it: by its offset on the chip, or by the name
// the chip gives it (as `gpioinfo` shows them).
struct GpioLineName {
  std::optional<std::uint32_t> offset;
  std::string name;

  bool operator==(const GpioLineName&) const = default;
};

// Two lines of one chip for SCL and SDA.
struct GpioLinesChoice {
  // "gpiochip0", its number "0", a path "/dev/gpiochip0", or the chip's label.
  std::string chip;
  GpioLineName scl;
  GpioLineName sda;

  bool operator==(const GpioLinesChoice&) const = default;
};

// Longest line name and label a chip can give (the kernel's 32 bytes, the last a NUL).
inline constexpr std::size_t kGpioNameMax = 31;

// Reads "gpio:CHIP:SCL,SDA", e.g. "gpio:gpiochip0:3,2" or "gpio:gpiochip0:GPIO3,GPIO2":
// the chip is everything up to the last ':', a line all digits is an offset, any other one
// a name. Returns the reason when text is not that form, and leaves choice as it was; the
// reason never repeats text, which the caller shows as it sees fit.
std::optional<std::string> parseGpioLines(std::string_view text, GpioLinesChoice& choice);

// The choice written as parseGpioLines reads it.
std::string gpioLinesText(const GpioLinesChoice& choice);

}  // namespace brelvion::port::gpio
