#include "mainwindow/FieldValues.h"

#include <cctype>
#include <charconv>

#include "numconv/HexToDecimal.h"
#include "platform/RuntimeError.h"

namespace brelvion::mainwindow {

using platform::RuntimeError;

namespace {

constexpr const char* kDelaySource = "UpdateCommandDelay";

std::string trimBlanks(const std::string& text) {
  const std::size_t first = text.find_first_not_of(' ');
  if (first == std::string::npos) return {};
  return text.substr(first, text.find_last_not_of(' ') - first + 1);
}

void showError(platform::Desktop& desktop, const RuntimeError& error, const char* title,
               platform::MessageIcon icon) {
  desktop.messageBox({error.boxText(), title, icon, platform::MessageButtons::Ok});
}

}  // namespace

std::int16_t narrowToInt16(long long value, const char* source) {
  if (value < -32768 || value > 32767) throw RuntimeError(RuntimeError::kOverflow, source);
  return static_cast<std::int16_t>(value);
}

std::int16_t AddressFieldValue(const std::string& text) {
  return narrowToInt16(numconv::HexToDecimal(text), numconv::kHexToDecimalSource);
}

bool ApplyAddressField(const std::string& text, std::int16_t& target, platform::Desktop& desktop,
                       const char* title) {
  try {
    target = AddressFieldValue(text);
    return true;
  } catch (const RuntimeError& error) {
    showError(desktop, error, title, platform::MessageIcon::Exclamation);
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
      throw RuntimeError(RuntimeError::kTypeMismatch, kDelaySource);
    }
  }
  if (digits == 0 || points > 1) throw RuntimeError(RuntimeError::kTypeMismatch, kDelaySource);
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
                       platform::Desktop& desktop) {
  try {
    target = DelayValue(seconds, fraction);
    return true;
  } catch (const RuntimeError& error) {
    showError(desktop, error, "", platform::MessageIcon::Information);
    return false;
  }
}

}  // namespace brelvion::mainwindow
