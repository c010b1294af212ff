// The hexadecimal conversions against a plain reading of their contracts: hexToDecimal
// gives the number or error 13 / 6 exactly when the text calls for it, hexByteValue never
// fails and reads one or two hex digits as their value, and upperHex reads back.

#include <cstdint>
#include <string>

#include "FuzzSupport.h"
#include "base/RuntimeError.h"
#include "numconv/HexByteValue.h"
#include "numconv/HexText.h"
#include "numconv/HexToDecimal.h"

namespace {

using brelvion::base::RuntimeError;
using brelvion::fuzz::FuzzInput;
namespace numconv = brelvion::numconv;

int asciiDigit(char ch) {
  if (ch >= '0' && ch <= '9') return ch - '0';
  if (ch >= 'A' && ch <= 'F') return ch - 'A' + 10;
  if (ch >= 'a' && ch <= 'f') return ch - 'a' + 10;
  return -1;
}

// The value, or minus the error number.
std::int64_t expectedHexToDecimal(const std::string& text) {
  const std::size_t first = text.find_first_not_of(' ');
  if (first == std::string::npos) return -RuntimeError::kTypeMismatch;
  const std::string digits = text.substr(first, text.find_last_not_of(' ') - first + 1);
  if (digits.size() > 8) return -RuntimeError::kOverflow;
  std::int64_t value = 0;
  for (char ch : digits) {
    if (asciiDigit(ch) < 0) return -RuntimeError::kTypeMismatch;
    value = value * 16 + asciiDigit(ch);
  }
  return value > 0x7FFFFFFF ? -RuntimeError::kOverflow : value;
}

std::int64_t actualHexToDecimal(const std::string& text) {
  try {
    return numconv::hexToDecimal(text);
  } catch (const RuntimeError& error) {
    FUZZ_CHECK(error.source() == numconv::kHexToDecimalSource, "source " + error.source());
    FUZZ_CHECK(!error.description().empty(), "no description");
    return -error.number();
  }
}

void checkHexToDecimal(const std::string& text) {
  const std::int64_t expected = expectedHexToDecimal(text);
  const std::int64_t actual = actualHexToDecimal(text);
  FUZZ_CHECK(actual == expected, "'" + text + "' gave " + std::to_string(actual) + " instead of " +
                                     std::to_string(expected));
}

void checkHexDigitValue(char ch) {
  int actual = -1;
  try {
    actual = numconv::checkedHexDigit(ch);
  } catch (const RuntimeError& error) {
    FUZZ_CHECK(error.number() == RuntimeError::kTypeMismatch, error.boxText());
  }
  FUZZ_CHECK(actual == asciiDigit(ch), "digit " + std::to_string(static_cast<int>(ch)));
}

void checkHexByteValue(const std::string& text) {
  const std::int16_t value = numconv::hexByteValue(text);
  // Any single-byte character gives a nibble from -55 to 200.
  FUZZ_CHECK(value >= -55 * 17 && value <= 200 * 17, std::to_string(value));
  const bool hexField = !text.empty() && text.size() <= 2 && asciiDigit(text.front()) >= 0 &&
                        asciiDigit(text.back()) >= 0;
  if (hexField) {
    const int expected =
        text.size() == 2 ? asciiDigit(text[0]) * 16 + asciiDigit(text[1]) : asciiDigit(text[0]);
    FUZZ_CHECK(value == expected, "'" + text + "' gave " + std::to_string(value));
  }
  // A longer text with no blank at either end counts only its last character.
  if (text.size() >= 3 && text.front() != ' ' && text.back() != ' ') {
    FUZZ_CHECK(value == numconv::hexByteValue(text.substr(text.size() - 1)), "'" + text + "'");
  }
}

void checkUpperHex(std::uint64_t value, int minDigits) {
  const std::string text = numconv::upperHex(value, minDigits);
  const std::size_t padded = static_cast<std::size_t>(minDigits > 0 ? minDigits : 1);
  FUZZ_CHECK(text.size() >= padded, text);
  // Zeros in front only as padding.
  FUZZ_CHECK(text.size() == padded || text.front() != '0', text);
  std::uint64_t readBack = 0;
  for (char ch : text) {
    FUZZ_CHECK((ch >= '0' && ch <= '9') || (ch >= 'A' && ch <= 'F'), text);
    readBack = readBack * 16 + static_cast<std::uint64_t>(asciiDigit(ch));
  }
  FUZZ_CHECK(readBack == value, text);
  if (value <= 0x7FFFFFFF && text.size() <= 8) {
    FUZZ_CHECK(numconv::hexToDecimal(text) == static_cast<std::int64_t>(value), text);
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string whole(reinterpret_cast<const char*>(data), size);
  checkHexToDecimal(whole);
  checkHexByteValue(whole);
  if (size > 0) checkHexDigitValue(whole.front());
  if (size >= 2) checkHexByteValue(whole.substr(size - 2));

  FuzzInput input(data, size);
  std::uint64_t value = 0;
  for (int i = 0; i < 8; ++i) value = (value << 8) | input.byte();
  checkUpperHex(value >> (input.byte() % 64), input.byte() % 20);
  return 0;
}
