#include "numconv/HexByteValue.h"

namespace brelvion::numconv {

namespace {

// Upper case as the Windows-1252 code page has it, so that letters beyond ASCII give the
// same (meaningless but stable) values as the fields always gave them.
unsigned char upperCase1252(unsigned char code) {
  if (code >= 'a' && code <= 'z') return static_cast<unsigned char>(code - 0x20);
  if (code >= 0xE0 && code <= 0xFE && code != 0xF7) return static_cast<unsigned char>(code - 0x20);
  switch (code) {
    case 0x9A:
    case 0x9C:
    case 0x9E:
      return static_cast<unsigned char>(code - 0x10);
    case 0xFF:
      return 0x9F;
    default:
      return code;
  }
}

int nibbleValue(unsigned char code) {
  const int digit = code - '0';
  if (digit >= 0 && digit <= 9) return digit;
  return code - 55;  // 'A' (65) gives 10
}

}  // namespace

std::int16_t hexByteValue(std::string text) {
  for (char& ch : text) ch = static_cast<char>(upperCase1252(static_cast<unsigned char>(ch)));
  if (text.empty() || text == " " || text == "  ") text = "00";
  if (text.front() == ' ') text = text.substr(text.size() - 1);
  if (text.back() == ' ') text = text.substr(0, 1);

  int value = 0;
  if (text.size() == 2) value = nibbleValue(static_cast<unsigned char>(text.front())) * 16;
  value += nibbleValue(static_cast<unsigned char>(text.back()));
  return static_cast<std::int16_t>(value);
}

}  // namespace brelvion::numconv
