#include "bus/AdapterTraceLine.h"

#include "bus/BusMessages.h"
#include "port/OutcomeText.h"
#include "port/TransferText.h"

namespace brelvion::bus {

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
  line += port::outcomeWord(refusalOf(done).value_or(port::MessageOutcome::Acknowledged));
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
