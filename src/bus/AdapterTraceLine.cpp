#include "bus/AdapterTraceLine.h"

#include "bus/BusMessages.h"
#include "i2c/OutcomeText.h"
#include "i2c/TransferText.h"

namespace brelvion::bus {

std::optional<i2c::MessageOutcome> refusalOf(const port::AdapterTransfer& done) {
  for (const i2c::MessageResult& result : done.results) {
    if (result.outcome != i2c::MessageOutcome::Acknowledged) return result.outcome;
  }
  return std::nullopt;
}

std::string adapterTransferLine(std::string_view adapter, const port::AdapterTransfer& done) {
  const bool smbus = done.call == port::AdapterCall::Smbus;
  std::string line(smbus ? kMsgAdapterSmbusPrefix : kMsgAdapterTransferPrefix);
  line.append(adapter).append(smbus ? " SMBus " : " ");
  line += i2c::transferText(done.messages, done.results);
  line += ' ';
  line += i2c::outcomeWord(refusalOf(done).value_or(i2c::MessageOutcome::Acknowledged));
  return line;
}

std::string_view refusalErrorLine(i2c::MessageOutcome outcome) {
  switch (outcome) {
    case i2c::MessageOutcome::TimedOut:
      return kErrBusTimeout;
    case i2c::MessageOutcome::ArbitrationLost:
      return kErrArbitrationLost;
    default:
      return kErrTransferNotAcknowledged;
  }
}

}  // namespace brelvion::bus
