#pragma once

#include <array>
#include <cstdint>
#include <filesystem>
#include <string>

#include "port/gpio/GpioLinesText.h"
#include "port/gpio/GpioSystemCalls.h"

namespace brelvion::port::gpio {

// Index of each line in the request: bit 0 of a value is SCL, bit 1 SDA.
inline constexpr int kSclIndex = 0;
inline constexpr int kSdaIndex = 1;

// Two lines requested from their chip, both released.
struct GpioLineRequest {
  int fd = -1;
  std::string chipPath;
  std::array<std::uint32_t, 2> offsets{};
  // Open-drain outputs read back through the request; else the lines switch direction:
  // input to release a line, output low to pull it.
  bool openDrain = true;
  // Pull-up bias asked for (the chip may still have none).
  bool pullUp = true;
  // Why the lines switch direction, for the user, once; empty for open-drain lines.
  std::string notice;
};

inline constexpr const char* kGpioConsumer = "brelvion-i2c";

// Opens the chip, finds both lines, checks that nobody uses them and requests them as
// open-drain outputs with pull-up bias, value 1 (released), falling back to what the chip
// supports. The chip itself is closed again; the request keeps the lines. Throws
// RuntimeError: 53 no such chip or line, 70 no permission, 68 a line in use (naming its
// consumer), a chip removed, or any other failure, each with what to do.
GpioLineRequest requestGpioLines(const GpioLinesChoice& choice, GpioSystemCalls& calls,
                                 const std::filesystem::path& root);

// The flags a line gets in each mode.
std::uint64_t releasedLineFlags(const GpioLineRequest& request);
std::uint64_t pulledLineFlags(const GpioLineRequest& request);

// The errors of a line access on a request: the chip removed, or another failure.
[[noreturn]] void throwAccessFailed(const std::string& chipPath, int error);

}  // namespace brelvion::port::gpio
