#include "bus/AdapterTraceLine.h"

#include "bus/BusMessages.h"
#include "port/TransferText.h"

namespace brelvion::bus {

namespace {

const char* outcomeWord(std::optional<port::MessageOutcome> refusal) {
  if (!refusal) return "ACK";
  switch (*refusal) {
    case port::MessageOutcome::TimedOut:
      return "TIMEOUT";
    case port::MessageOutcome::ArbitrationLost:
      return "ARBITRATION LOST";
    default:
      return "NO ACK";
  }
}

}  // namespace

std::optional<port::MessageOutcome> refusalOf(const port::AdapterTransfer& done) {
  for (const port::MessageResult& result : done.results) {
    if (result.outcome != port::MessageOutcome::Acknowledged) return result.outcome;
  }
  return std::nullopt;
}

std::string adapterTransferLine(std::string_view adapter, const port::AdapterTransfer& done) {
  const bool smbus = done.call == port::AdapterCall::Smbus;
  std::string line(smbus ? kMsgAdapterSmbusPrefix : kMsgAdapterTransferPrefix);
  line.append(adapter).append(smbus ? " SMBus " : " ");
  line += port::transferText(done.messages, done.results);
  line += ' ';
  line += outcomeWord(refusalOf(done));
  return line;
}

std::string_view refusalErrorLine(port::MessageOutcome outcome) {
  switch (outcome) {
    case port::MessageOutcome::TimedOut:
      return kErrBusTimeout;
    case port::MessageOutcome::ArbitrationLost:
      return kErrArbitrationLost;
    default:
      return kErrTransferNotAcknowledged;
  }
}

}  // namespace brelvion::bus
