#include "windowlogic/BusLineControls.h"

#include <cctype>
#include <optional>

#include "base/RuntimeError.h"
#include "base/Text.h"
#include "bus/LineControls.h"
#include "desktop/ErrorBox.h"

namespace brelvion::windowlogic {

namespace {

using base::RuntimeError;

struct FieldRange {
  const char* what;
  const char* unit;
  long lowest;
  long highest;
};

constexpr FieldRange kStepRange{"The line step", "µs", bus::kShortestStep.count(),
                                bus::kLongestStep.count()};
constexpr FieldRange kStretchRange{"The stretch timeout", "ms",
                                   bus::kShortestStretchTimeout.count(),
                                   bus::kLongestStretchTimeout.count()};

// Digits alone, at most as many as a field can hold a sensible value in.
std::optional<long> wholeNumber(const std::string& text) {
  constexpr std::size_t kMostDigits = 9;
  const std::string digits = base::trimmed(text);
  if (digits.empty() || digits.size() > kMostDigits) return std::nullopt;
  long value = 0;
  for (char ch : digits) {
    if (ch < '0' || ch > '9') return std::nullopt;
    value = value * 10 + (ch - '0');
  }
  return value;
}

long fieldValue(const std::string& text, const FieldRange& range) {
  const std::string bounds =
      std::to_string(range.lowest) + " to " + std::to_string(range.highest) + " " + range.unit;
  const auto value = wholeNumber(text);
  if (!value) {
    throw RuntimeError(
        RuntimeError::kTypeMismatch, kStepTimeTitle,
        std::string(range.what) + " must be a whole number, " + bounds + ", not '" + text + "'");
  }
  if (*value < range.lowest || *value > range.highest) {
    throw RuntimeError(
        RuntimeError::kInvalidCall, kStepTimeTitle,
        std::string(range.what) + " must be " + bounds + ", not " + std::to_string(*value));
  }
  return *value;
}

}  // namespace

desktop::MessageBoxRequest recoveryBoxRequest(const bus::RecoveryResult& result,
                                              std::chrono::milliseconds stretchTimeout) {
  desktop::MessageBoxRequest box;
  if (result.free && result.pulses == 0) {
    box.text = kBusAlreadyFree;
  } else {
    box.text = bus::recoveryText(result, stretchTimeout);
    // A sentence of its own in the box.
    box.text.front() =
        static_cast<char>(std::toupper(static_cast<unsigned char>(box.text.front())));
  }
  box.title = kRecoverBusName;
  box.icon = result.free ? desktop::MessageIcon::Information : desktop::MessageIcon::Exclamation;
  return box;
}

void recoverBus(core::ToolCore& core) {
  const bus::RecoveryResult result = core.master().recoverBus();
  core.desktop().messageBox(recoveryBoxRequest(result, core.engine().stretchTimeout()));
}

StepTimeField applyStepTime(bus::BusEngine& engine, const std::string& stepText,
                            const std::string& stretchTimeoutText, desktop::Desktop& desktop) {
  StepTimeField field = StepTimeField::Step;
  try {
    const long step = fieldValue(stepText, kStepRange);
    field = StepTimeField::StretchTimeout;
    const long stretchTimeout = fieldValue(stretchTimeoutText, kStretchRange);
    engine.setStepTime(std::chrono::microseconds(step));
    engine.setStretchTimeout(std::chrono::milliseconds(stretchTimeout));
    return StepTimeField::None;
  } catch (const RuntimeError& error) {
    desktop::showErrorBox(desktop, error, kStepTimeTitle, desktop::MessageIcon::Exclamation);
    return field;
  }
}

}  // namespace brelvion::windowlogic
