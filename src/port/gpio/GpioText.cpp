#include "port/gpio/GpioText.h"

#include <cstdio>
#include <system_error>

namespace brelvion::port::gpio {

std::string quotedName(const std::string& name) {
  std::string text = "'";
  for (const char ch : name) {
    const auto byte = static_cast<unsigned char>(ch);
    if (byte < 0x20 || byte == 0x7F) {
      char escaped[8];
      std::snprintf(escaped, sizeof escaped, "\\x%02X", byte);
      text += escaped;
    } else {
      text += ch;
    }
  }
  return text + "'";
}

bool allDigits(std::string_view text) {
  for (const char ch : text) {
    if (ch < '0' || ch > '9') return false;
  }
  return !text.empty();
}

std::string errnoText(int error) { return std::generic_category().message(error); }

}  // namespace brelvion::port::gpio
