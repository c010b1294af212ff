#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace brelvion::port::gpio {

// A name or label out of one of the kernel's fixed-size fields, which ends at the first NUL
// or at the end of the field.
template <std::size_t N>
std::string kernelString(const char (&field)[N]) {
  std::size_t length = 0;
  while (length < N && field[length] != '\0') ++length;
  return std::string(field, length);
}

// 'name' in quotes for a message, control characters written as \xNN.
std::string quotedName(const std::string& name);

// True for a non-empty run of the digits 0-9 only: a line offset or chip number.
bool allDigits(std::string_view text);

// The system's text for an errno value.
std::string errnoText(int error);

}  // namespace brelvion::port::gpio
