#pragma once

#include <cstdint>
#include <optional>
#include <string>

namespace brelvion::numconv {

// value in upper-case hexadecimal, zero-padded to at least minDigits: the form bytes and
// port addresses take in trace lines, messages and output.
std::string upperHex(std::uint64_t value, int minDigits = 1);
// The same appended to text, for output built line by line.
void appendUpperHex(std::string& text, std::uint64_t value, int minDigits = 1);

// The value 0 to 15 of a hexadecimal digit of either case; nothing for any other character.
constexpr std::optional<int> hexDigitValue(char ch) {
  if (ch >= '0' && ch <= '9') return ch - '0';
  if (ch >= 'A' && ch <= 'F') return ch - 'A' + 10;
  if (ch >= 'a' && ch <= 'f') return ch - 'a' + 10;
  return std::nullopt;
}

}  // namespace brelvion::numconv
