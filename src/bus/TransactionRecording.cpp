// The engine's record of its transactions: one entry a message, made only while the trace
// runs or a listener waits for messages, so that otherwise a message costs two questions
// and nothing more.
#include "bus/BusEngine.h"
#include "port/DeviceAddress.h"

namespace brelvion::bus {

std::optional<Transaction> BusEngine::startEntry(std::uint8_t address, bool read) {
  if (!trace_.tracing() && !messageListener_) return std::nullopt;
  Transaction entry;
  entry.time = record_.sinceStart();
  entry.address = address;
  entry.read = read;
  return entry;
}

void BusEngine::finishEntry(std::optional<Transaction>& entry, port::MessageOutcome outcome,
                            std::size_t nackedByte) {
  if (!entry) return;
  entry->outcome = outcome;
  entry->nackedByte = outcome == port::MessageOutcome::DataNotAcknowledged ? nackedByte : 0;
  if (messageListener_) messageListener_(*entry);
  // Without a listener an entry exists only because the trace ran when the message began.
  if (!messageListener_ || trace_.tracing()) record_.append(std::move(*entry));
  entry.reset();
}

void BusEngine::recordAdapterCall(const port::AdapterTransfer& done) {
  const bool tracing = trace_.tracing();
  if (!tracing && !messageListener_) return;
  const auto time = record_.sinceStart();
  for (std::size_t k = 0; k < done.messages.size() && k < done.results.size(); ++k) {
    const port::I2cMessage& message = done.messages[k];
    const port::MessageResult& result = done.results[k];
    if (result.outcome == port::MessageOutcome::NotSent) continue;
    Transaction entry;
    entry.time = time;
    entry.address = port::DeviceAddress::fromByte(message.address).byteFor(message.read);
    entry.read = message.read;
    entry.bytes = message.read ? result.bytes : message.bytes;
    entry.outcome = result.outcome;
    entry.nackedByte = result.nackedByte;
    entry.adapter = true;
    if (messageListener_) messageListener_(entry);
    if (tracing) record_.append(std::move(entry));
  }
}

}  // namespace brelvion::bus
