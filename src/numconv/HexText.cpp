#include "numconv/HexText.h"

namespace brelvion::numconv {

void appendUpperHex(std::string& text, std::uint64_t value, int minDigits) {
  static constexpr char kDigits[] = "0123456789ABCDEF";
  char digits[16];
  int count = 0;
  do {
    digits[count++] = kDigits[value & 0xF];
    value >>= 4;
  } while (value != 0);
  if (count < minDigits) text.append(static_cast<std::size_t>(minDigits - count), '0');
  while (count > 0) text.push_back(digits[--count]);
}

std::string upperHex(std::uint64_t value, int minDigits) {
  std::string text;
  appendUpperHex(text, value, minDigits);
  return text;
}

}  // namespace brelvion::numconv
