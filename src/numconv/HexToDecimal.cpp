#include "numconv/HexToDecimal.h"

#include <array>
#include <cctype>
#include <limits>

#include "base/RuntimeError.h"

namespace brelvion::numconv {

using base::RuntimeError;

namespace {

constexpr std::size_t kMaxDigits = 8;

std::string trimBlanks(const std::string& text) {
  const std::size_t first = text.find_first_not_of(' ');
  if (first == std::string::npos) return {};
  const std::size_t last = text.find_last_not_of(' ');
  return text.substr(first, last - first + 1);
}

std::int32_t convert(const std::string& text) {
  const std::string digits = trimBlanks(text);
  if (digits.empty())
    throw base::RuntimeError(base::RuntimeError::kTypeMismatch, kHexToDecimalSource);
  if (digits.size() > kMaxDigits)
    throw base::RuntimeError(base::RuntimeError::kOverflow, kHexToDecimalSource);

  std::array<std::int16_t, kMaxDigits> slots{};
  for (std::size_t k = 0; k < digits.size(); ++k) {
    slots[k] = HexDigitValue(digits[digits.size() - 1 - k]);
    if (slots[k] < 0)
      throw base::RuntimeError(base::RuntimeError::kTypeMismatch, kHexToDecimalSource);
  }

  double result = 0;
  double weight = 1;
  for (std::int16_t slot : slots) {
    result += weight * slot;
    if (result > std::numeric_limits<std::int32_t>::max()) {
      throw base::RuntimeError(base::RuntimeError::kOverflow, kHexToDecimalSource);
    }
    weight *= 16;
  }
  return static_cast<std::int32_t>(result);
}

}  // namespace

std::int16_t HexDigitValue(char ch) {
  const auto code = static_cast<unsigned char>(ch);
  if (code >= '0' && code <= '9') return static_cast<std::int16_t>(code - '0');
  const int upper = std::toupper(code);
  if (upper >= 'A' && upper <= 'F') return static_cast<std::int16_t>(upper - 'A' + 10);
  throw base::RuntimeError(base::RuntimeError::kTypeMismatch, kHexToDecimalSource);
}

std::int32_t HexToDecimal(std::string text) {
  try {
    return convert(text);
  } catch (const base::RuntimeError& error) {
    throw error.withSource(kHexToDecimalSource);
  }
}

}  // namespace brelvion::numconv
