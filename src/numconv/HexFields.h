#pragma once

#include <cstdint>
#include <optional>

#include "numconv/HexText.h"

namespace brelvion::numconv {

// The values of a command file, the one way the sender takes them and the converter reads
// them: a hex digit and, when the byte after it is a hex digit too, that one. Any other
// byte after a lone digit (a blank, a line end, a comma, ...) ends the value and goes with
// it; bytes before a digit are passed over. Fed a byte at a time, so a file is read as it
// streams.
class HexFieldReader {
 public:
  // Takes the next byte; the value it completes, if any.
  std::optional<std::uint8_t> take(char ch) {
    const std::optional<int> digit = hexDigitValue(ch);
    if (!high_) {
      high_ = digit;
      return std::nullopt;
    }
    const int value = digit ? *high_ * 16 + *digit : *high_;
    high_.reset();
    return static_cast<std::uint8_t>(value);
  }
  // The input ended: the lone digit it cut short, if any.
  std::optional<std::uint8_t> end() {
    const std::optional<int> high = high_;
    high_.reset();
    if (!high) return std::nullopt;
    return static_cast<std::uint8_t>(*high);
  }

 private:
  std::optional<int> high_;
};

}  // namespace brelvion::numconv
