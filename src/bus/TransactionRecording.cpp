// The engine's record of its transactions: one entry a message, made only while the trace
// runs or a listener waits for messages, so that otherwise a message costs two questions
// and nothing more.
#include "bus/BusEngine.h"
#include "i2c/DeviceAddress.h"

namespace brelvion::bus {

std::optional<Transaction> BusEngine::startEntry(std::uint8_t address, bool read) {
  if (!trace_.tracing() && !record_.messageListener()) return std::nullopt;
  Transaction entry;
  entry.time = record_.sinceStart();
  entry.address = address;
  entry.read = read;
  return entry;
}

void BusEngine::finishEntry(std::optional<Transaction>& entry, i2c::MessageOutcome outcome,
                            std::size_t nackedByte) {
  if (!entry) return;
  entry->outcome = outcome;
  entry->nackedByte = outcome == i2c::MessageOutcome::DataNotAcknowledged ? nackedByte : 0;
  const auto& listener = record_.messageListener();
  if (listener) listener(*entry);
  // Without a listener an entry exists only because the trace ran when the message began.
  if (!listener || trace_.tracing()) record_.append(std::move(*entry));
  entry.reset();
}

}  // namespace brelvion::bus
