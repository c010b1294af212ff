#include "i2c/OutcomeText.h"

namespace brelvion::i2c {

std::string_view outcomeWord(MessageOutcome outcome) {
  switch (outcome) {
    case MessageOutcome::Acknowledged:
      return kAckText;
    case MessageOutcome::TimedOut:
      return "TIMEOUT";
    case MessageOutcome::ArbitrationLost:
      return "ARBITRATION LOST";
    default:
      return kNoAckText;
  }
}

std::string outcomeText(MessageOutcome outcome, std::size_t nackedByte) {
  switch (outcome) {
    case MessageOutcome::AddressNotAcknowledged:
      return std::string(kNoAckText) + " at address";
    case MessageOutcome::DataNotAcknowledged:
      return std::string(kNoAckText) + " at byte " + std::to_string(nackedByte + 1);
    case MessageOutcome::NotSent:
      return "NOT SENT";
    default:
      return std::string(outcomeWord(outcome));
  }
}

}  // namespace brelvion::i2c
