#include "numconv/HexToDecimal.h"

#include <array>
#include <limits>

#include "base/RuntimeError.h"
#include "base/Text.h"
#include "numconv/HexText.h"

namespace brelvion::numconv {

using base::RuntimeError;

namespace {

constexpr std::size_t kMaxDigits = 8;

std::int32_t convert(const std::string& text) {
  const std::string digits = base::trimmed(text);
  if (digits.empty()) throw RuntimeError(RuntimeError::kTypeMismatch, kHexToDecimalSource);
  if (digits.size() > kMaxDigits) throw RuntimeError(RuntimeError::kOverflow, kHexToDecimalSource);

  std::array<std::int16_t, kMaxDigits> slots{};
  for (std::size_t k = 0; k < digits.size(); ++k) {
    slots[k] = checkedHexDigit(digits[digits.size() - 1 - k]);
    if (slots[k] < 0) throw RuntimeError(RuntimeError::kTypeMismatch, kHexToDecimalSource);
  }

  double result = 0;
  double weight = 1;
  for (std::int16_t slot : slots) {
    result += weight * slot;
    if (result > std::numeric_limits<std::int32_t>::max()) {
      throw RuntimeError(RuntimeError::kOverflow, kHexToDecimalSource);
    }
    weight *= 16;
  }
  return static_cast<std::int32_t>(result);
}

}  // namespace

std::int16_t checkedHexDigit(char ch) {
  const std::optional<int> value = hexDigitValue(ch);
  if (!value) throw RuntimeError(RuntimeError::kTypeMismatch, kHexToDecimalSource);
  return static_cast<std::int16_t>(*value);
}

std::int32_t hexToDecimal(std::string text) {
  try {
    return convert(text);
  } catch (const RuntimeError& error) {
    throw error.withSource(kHexToDecimalSource);
  }
}

}  // namespace brelvion::numconv
