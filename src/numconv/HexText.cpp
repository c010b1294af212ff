#include "numconv/HexText.h"

namespace brelvion::numconv {

std::string UpperHex(std::uint64_t value, int minDigits) {
  static constexpr char kDigits[] = "0123456789ABCDEF";
  std::string text;
  do {
    text.insert(text.begin(), kDigits[value & 0xF]);
    value >>= 4;
  } while (value != 0);
  if (static_cast<int>(text.size()) < minDigits) text.insert(0, minDigits - text.size(), '0');
  return text;
}

}  // namespace brelvion::numconv
