#include "commandfiles/SendStatus.h"

#include <string_view>

namespace brelvion::commandfiles {

namespace {

std::string progressText(std::string_view unit, long long index, long long total) {
  return "Send File: " + std::string(unit) + " " + std::to_string(index) + " of " +
         std::to_string(total) + " (Esc stops)";
}

// unit: what Send File counts, "write" or "command"; done of total were sent.
std::optional<std::string> endText(SendEnd end, std::string_view unit, long long done,
                                   long long total, long long unacknowledged) {
  const std::string units(unit);
  switch (end) {
    case SendEnd::Completed: {
      std::string text =
          "Send File: " + std::to_string(done) + " " + units + (done == 1 ? "" : "s") + " sent";
      if (unacknowledged > 0) text += ", " + std::to_string(unacknowledged) + " not acknowledged";
      return text;
    }
    case SendEnd::Stopped:
      return "Send File stopped after " + units + " " + std::to_string(done) + " of " +
             std::to_string(total);
    case SendEnd::Failed:
      break;
  }
  return std::nullopt;
}

}  // namespace

std::string writeProgressText(long long index, long long total) {
  return progressText("write", index, total);
}

std::string commandProgressText(long long index, long long total) {
  return progressText("command", index, total);
}

std::optional<std::string> sendEndText(const SendOutcome& outcome, long long total) {
  return endText(outcome.end, "write", outcome.writes, total, outcome.unacknowledged);
}

std::optional<std::string> sendEndText(const ScriptSendOutcome& outcome) {
  return endText(outcome.end, "command", static_cast<long long>(outcome.commands),
                 static_cast<long long>(outcome.total),
                 static_cast<long long>(outcome.unacknowledged));
}

}  // namespace brelvion::commandfiles
