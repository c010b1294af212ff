#include "registers/SourceText.h"

#include "numconv/HexText.h"

namespace brelvion::registers {

base::RuntimeError contentError(const std::string& file, SourcePosition at,
                                const std::string& what) {
  return base::RuntimeError(base::RuntimeError::kInvalidFileFormat, "Register Map",
                            file + ":" + std::to_string(at.line) + ":" +
                                std::to_string(at.column) + ": " + what);
}

std::optional<std::uint32_t> hexFromText(std::string_view text) {
  if (text.empty() || text.size() > 8) return std::nullopt;
  std::uint32_t value = 0;
  for (char ch : text) {
    const auto digit = numconv::hexDigitValue(ch);
    if (!digit) return std::nullopt;
    value = (value << 4) | static_cast<std::uint32_t>(*digit);
  }
  return value;
}

std::optional<std::uint32_t> numberFromText(std::string_view text) {
  if (text.size() > 2 && text[0] == '0' && (text[1] == 'x' || text[1] == 'X')) {
    return hexFromText(text.substr(2));
  }
  if (text.size() > 1 && (text.back() == 'h' || text.back() == 'H')) {
    return hexFromText(text.substr(0, text.size() - 1));
  }
  if (text.empty() || text.size() > 10) return std::nullopt;
  std::uint64_t value = 0;
  for (char ch : text) {
    if (ch < '0' || ch > '9') return std::nullopt;
    value = value * 10 + static_cast<std::uint64_t>(ch - '0');
  }
  if (value > 0xFFFFFFFFu) return std::nullopt;
  return static_cast<std::uint32_t>(value);
}

bool plainText(std::string_view text, bool multiLine) {
  std::size_t i = 0;
  while (i < text.size()) {
    const auto byte = static_cast<unsigned char>(text[i]);
    if (byte < 0x80) {
      const bool allowed = byte >= 0x20 || byte == '\t' || (multiLine && byte == '\n');
      if (!allowed || byte == 0x7F) return false;
      ++i;
      continue;
    }
    // A lead byte and its continuation bytes, no overlong forms, no surrogates, at most
    // U+10FFFF.
    int extra = 0;
    std::uint32_t code = 0;
    if (byte >= 0xC2 && byte <= 0xDF) {
      extra = 1;
      code = byte & 0x1F;
    } else if (byte >= 0xE0 && byte <= 0xEF) {
      extra = 2;
      code = byte & 0x0F;
    } else if (byte >= 0xF0 && byte <= 0xF4) {
      extra = 3;
      code = byte & 0x07;
    } else {
      return false;
    }
    if (i + static_cast<std::size_t>(extra) >= text.size()) return false;
    for (int k = 1; k <= extra; ++k) {
      const auto next = static_cast<unsigned char>(text[i + static_cast<std::size_t>(k)]);
      if ((next & 0xC0) != 0x80) return false;
      code = (code << 6) | (next & 0x3F);
    }
    const std::uint32_t smallest = extra == 1 ? 0x80 : (extra == 2 ? 0x800 : 0x10000);
    if (code < smallest || code > 0x10FFFF || (code >= 0xD800 && code <= 0xDFFF)) return false;
    // C1 control characters.
    if (code >= 0x80 && code <= 0x9F) return false;
    i += static_cast<std::size_t>(extra) + 1;
  }
  return true;
}

}  // namespace brelvion::registers
