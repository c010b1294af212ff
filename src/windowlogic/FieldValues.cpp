#include "windowlogic/FieldValues.h"

#include "base/RuntimeError.h"
#include "commandfiles/CommandDelay.h"
#include "desktop/ErrorBox.h"
#include "numconv/HexToDecimal.h"

namespace brelvion::windowlogic {

using base::RuntimeError;

std::int16_t narrowToInt16(long long value, const char* source) {
  if (value < -32768 || value > 32767) throw RuntimeError(RuntimeError::kOverflow, source);
  return static_cast<std::int16_t>(value);
}

std::int16_t addressFieldValue(const std::string& text) {
  return narrowToInt16(numconv::hexToDecimal(text), numconv::kHexToDecimalSource);
}

bool applyAddressField(const std::string& text, std::int16_t& target, desktop::Desktop& desktop,
                       const char* title) {
  try {
    target = addressFieldValue(text);
    return true;
  } catch (const RuntimeError& error) {
    desktop::showErrorBox(desktop, error, title, desktop::MessageIcon::Exclamation);
    return false;
  }
}

bool applyCommandDelay(const std::string& seconds, const std::string& fraction, double& target,
                       desktop::Desktop& desktop) {
  try {
    target = commandfiles::delayValue(seconds, fraction);
    return true;
  } catch (const RuntimeError& error) {
    desktop::showErrorBox(desktop, error, "", desktop::MessageIcon::Information);
    return false;
  }
}

}  // namespace brelvion::windowlogic
