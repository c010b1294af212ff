#include "commandfiles/CommandDelay.h"

#include <cctype>
#include <charconv>

#include "base/RuntimeError.h"
#include "base/Text.h"

namespace brelvion::commandfiles {

namespace {

constexpr const char* kDelaySource = "UpdateCommandDelay";
// The lengths of the window's two delay fields.
constexpr std::size_t kSecondsLength = 1;
constexpr std::size_t kFractionLength = 2;

[[noreturn]] void notADelay() {
  throw base::RuntimeError(base::RuntimeError::kTypeMismatch, kDelaySource);
}

}  // namespace

double delayNumber(const std::string& text) {
  const std::string number = base::trimmed(text);
  int digits = 0;
  int points = 0;
  for (char ch : number) {
    if (std::isdigit(static_cast<unsigned char>(ch))) {
      ++digits;
    } else if (ch == '.') {
      ++points;
    } else {
      notADelay();
    }
  }
  if (digits == 0 || points > 1) notADelay();
  // from_chars, not strtod: the windowed program runs under the user's locale, whose
  // decimal separator may be a comma, while the text is built with a point.
  double value = 0;
  std::from_chars(number.data(), number.data() + number.size(), value);
  return value;
}

double delayValue(const std::string& seconds, const std::string& fraction) {
  return delayNumber(base::trimmed(seconds) + "." + base::trimmed(fraction));
}

double delayFromText(const std::string& text) {
  const std::string number = base::trimmed(text);
  const std::size_t point = number.find('.');
  const std::string seconds = number.substr(0, point);
  const std::string fraction = point == std::string::npos ? "" : number.substr(point + 1);
  if (seconds.size() > kSecondsLength || fraction.size() > kFractionLength) notADelay();
  return delayValue(seconds, fraction);
}

}  // namespace brelvion::commandfiles
