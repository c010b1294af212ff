#include "trace/DebugLog.h"

#include <algorithm>
#include <cmath>

namespace brelvion::trace {

namespace {

constexpr std::string_view kErrorTag = "Wisp ERR";

bool isErrorMessage(std::string_view line) { return line.substr(0, kErrorTag.size()) == kErrorTag; }

// The trace length in whole units of the line width.
double traceUnits(const std::string& text) {
  return std::floor(static_cast<double>(text.size()) / static_cast<double>(kTraceLineWidth));
}

// Drops everything up to and including the first CR and the character after it.
void dropOldestLine(std::string& text) {
  const std::size_t cr = text.find('\r');
  const std::size_t cut = cr == std::string::npos ? 1 : cr + 2;
  text.erase(0, std::min(cut, text.size()));
}

}  // namespace

std::string padTraceLine(std::string_view message) {
  std::string line(message);
  if (line.size() < kTraceLineWidth) line.append(kTraceLineWidth - line.size(), ' ');
  return line;
}

void DebugLog::logMessage(std::string_view message) {
  if (!enabled()) return;
  const std::string line = padTraceLine(message);
  if (!trace_.exists()) trace_.createHidden();

  const std::string& old = trace_.text();
  std::string text;
  text.reserve(old.size() + kTraceLineBreak.size() + line.size());
  text.append(old).append(kTraceLineBreak).append(line);

  const bool dropped = traceUnits(text) > state_.traceBufferSize;
  if (dropped) dropOldestLine(text);
  // The new text is in place before events may run, so a line logged by an event handled
  // during the yield is appended to it instead of being overwritten afterwards.
  trace_.replaceText(std::move(text));
  if (listener_) listener_(line);
  if (dropped) desktop_.processPendingEvents();

  if (state_.stopOnError && isErrorMessage(line) && !bulkStopped_) {
    bulkStopped_ = bulkActions_ > 0;
    desktop_.messageBox({"Error trapped\r\n" + line, std::string(kStopOnErrorTitle),
                         desktop::MessageIcon::Critical, desktop::MessageButtons::Ok});
  }
}

DebugLog::BulkAction::BulkAction(DebugLog& log) : log_(log) { ++log_.bulkActions_; }

DebugLog::BulkAction::~BulkAction() {
  if (--log_.bulkActions_ == 0) log_.bulkStopped_ = false;
}

void DebugLog::acknowledgeMissing(std::string_view message) {
  if (enabled()) {
    logMessage(message);
  } else {
    desktop_.beep();
  }
}

void DebugLog::debuggerOff() {
  logMessage(kDebuggerDisabledMessage);
  enabled_ = false;
}

void DebugLog::debuggerOn() {
  logMessage(kDebuggerEnabledMessage);
  enabled_ = true;
}

}  // namespace brelvion::trace
