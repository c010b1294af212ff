#include "windowlogic/FieldValues.h"

#include <cctype>
#include <charconv>

#include "base/RuntimeError.h"
#include "desktop/ErrorBox.h"
#include "numconv/HexToDecimal.h"

namespace brelvion::windowlogic {

using base::RuntimeError;

namespace {

constexpr const char* kDelaySource = "UpdateCommandDelay";

std::string trimBlanks(const std::string& text) {
  const std::size_t first = text.find_first_not_of(' ');
  if (first == std::string::npos) return {};
  return text.substr(first, text.find_last_not_of(' ') - first + 1);
}

}  // namespace

std::int16_t narrowToInt16(long long value, const char* source) {
  if (value < -32768 || value > 32767)
    throw base::RuntimeError(base::RuntimeError::kOverflow, source);
  return static_cast<std::int16_t>(value);
}

std::int16_t AddressFieldValue(const std::string& text) {
  return narrowToInt16(numconv::HexToDecimal(text), numconv::kHexToDecimalSource);
}

bool ApplyAddressField(const std::string& text, std::int16_t& target, desktop::Desktop& desktop,
                       const char* title) {
  try {
    target = AddressFieldValue(text);
    return true;
  } catch (const base::RuntimeError& error) {
    desktop::showErrorBox(desktop, error, title, desktop::MessageIcon::Exclamation);
    return false;
  }
}

double DelayNumber(const std::string& text) {
  const std::string number = trimBlanks(text);
  int digits = 0;
  int points = 0;
  for (char ch : number) {
    if (std::isdigit(static_cast<unsigned char>(ch))) {
      ++digits;
    } else if (ch == '.') {
      ++points;
    } else {
      throw base::RuntimeError(base::RuntimeError::kTypeMismatch, kDelaySource);
    }
  }
  if (digits == 0 || points > 1)
    throw base::RuntimeError(base::RuntimeError::kTypeMismatch, kDelaySource);
  // from_chars, not strtod: the windowed program runs under the user's locale, whose
  // decimal separator may be a comma, while the text is built with a point.
  double value = 0;
  std::from_chars(number.data(), number.data() + number.size(), value);
  return value;
}

double DelayValue(const std::string& seconds, const std::string& fraction) {
  return DelayNumber(trimBlanks(seconds) + "." + trimBlanks(fraction));
}

bool ApplyCommandDelay(const std::string& seconds, const std::string& fraction, double& target,
                       desktop::Desktop& desktop) {
  try {
    target = DelayValue(seconds, fraction);
    return true;
  } catch (const base::RuntimeError& error) {
    desktop::showErrorBox(desktop, error, "", desktop::MessageIcon::Information);
    return false;
  }
}

}  // namespace brelvion::windowlogic
