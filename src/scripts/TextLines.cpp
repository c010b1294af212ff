#include "scripts/TextLines.h"

#include <limits>

#include "base/Text.h"
#include "numconv/HexText.h"

namespace brelvion::scripts {

namespace {

constexpr std::uint64_t kSaturated = std::numeric_limits<std::uint64_t>::max();

bool isBlank(char ch) { return ch == ' ' || ch == '\t'; }

// Digits of base from text, all of it; nullopt when one is not a digit or there is none.
std::optional<std::uint64_t> parseDigits(std::string_view text, unsigned base) {
  if (text.empty()) return std::nullopt;
  std::uint64_t value = 0;
  for (const char ch : text) {
    const std::optional<int> digit = numconv::hexDigitValue(ch);
    if (!digit || static_cast<unsigned>(*digit) >= base) return std::nullopt;
    if (value > (kSaturated - static_cast<unsigned>(*digit)) / base) {
      value = kSaturated;
    } else if (value != kSaturated) {
      value = value * base + static_cast<unsigned>(*digit);
    }
  }
  return value;
}

}  // namespace

std::vector<std::string_view> splitLines(std::string_view text) {
  text = base::withoutByteOrderMark(text);
  std::vector<std::string_view> lines;
  std::size_t start = 0;
  std::size_t i = 0;
  while (i < text.size()) {
    const char ch = text[i];
    if (ch != '\r' && ch != '\n') {
      ++i;
      continue;
    }
    lines.push_back(text.substr(start, i - start));
    i += ch == '\r' && i + 1 < text.size() && text[i + 1] == '\n' ? 2 : 1;
    start = i;
  }
  if (start < text.size()) lines.push_back(text.substr(start));
  return lines;
}

std::vector<std::string_view> splitWords(std::string_view line) {
  std::vector<std::string_view> words;
  std::size_t i = 0;
  while (i < line.size()) {
    while (i < line.size() && isBlank(line[i])) ++i;
    const std::size_t start = i;
    while (i < line.size() && !isBlank(line[i])) ++i;
    if (i > start) words.push_back(line.substr(start, i - start));
  }
  return words;
}

std::string_view trimBlanks(std::string_view text) {
  while (!text.empty() && isBlank(text.front())) text.remove_prefix(1);
  while (!text.empty() && isBlank(text.back())) text.remove_suffix(1);
  return text;
}

std::optional<std::uint64_t> parseHex(std::string_view text) {
  if (text.size() > 2 && text[0] == '0' && (text[1] == 'x' || text[1] == 'X')) text.remove_prefix(2);
  return parseDigits(text, 16);
}

std::optional<std::uint64_t> parseDecimal(std::string_view text) { return parseDigits(text, 10); }

std::optional<std::uint64_t> parseCNumber(std::string_view text) {
  while (!text.empty() && (text.back() == 'u' || text.back() == 'U' || text.back() == 'l' ||
                           text.back() == 'L')) {
    text.remove_suffix(1);
  }
  if (text.size() > 2 && text[0] == '0' && (text[1] == 'x' || text[1] == 'X')) {
    return parseDigits(text.substr(2), 16);
  }
  if (text.size() > 1 && text[0] == '0') return parseDigits(text.substr(1), 8);
  return parseDigits(text, 10);
}

std::string lowerCase(std::string_view text) {
  std::string lower(text);
  for (char& ch : lower) {
    if (ch >= 'A' && ch <= 'Z') ch = static_cast<char>(ch - 'A' + 'a');
  }
  return lower;
}

std::string oneLine(std::string_view comment) {
  std::string text;
  for (const char ch : comment) text.push_back(ch == '\r' || ch == '\n' ? ' ' : ch);
  return text;
}

}  // namespace brelvion::scripts
