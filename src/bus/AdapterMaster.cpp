#include "bus/AdapterMaster.h"

#include <string>

#include "base/RuntimeError.h"
#include "bus/AdapterTraceLine.h"
#include "bus/BusMessages.h"
#include "i2c/DeviceAddress.h"

namespace brelvion::bus {

AdapterMaster::AdapterMaster(std::unique_ptr<port::BusAdapter> adapter, BusTrace& trace,
                             TransactionRecord& record)
    : adapter_(std::move(adapter)), trace_(trace), record_(record) {
  adapter_->setTransferListener([this](const port::AdapterTransfer& done) { traceCall(done); });
}

AdapterMaster::~AdapterMaster() { adapter_->setTransferListener(nullptr); }

i2c::TransferResult AdapterMaster::transfer(i2c::MessageSpan messages) {
  return adapter_->transfer(messages);
}

i2c::TransferResult AdapterMaster::probe(i2c::MessageSpan messages) {
  const ProbingScope probing(probing_);
  return transfer(messages);
}

// No port register is read or written: there are no lines, and no port to choose.
void AdapterMaster::openBus(std::int16_t, std::int16_t debug) {
  trace_.setEnabled(debug == 1);
  adapter_->open();
  if (trace_.tracing()) trace_.logLine(std::string(kSysAdapterOpenedPrefix) + adapter_->name());
}

void AdapterMaster::initPort(std::int16_t) {
  if (trace_.tracing()) trace_.logLine(kSysAdapterReady);
}

void AdapterMaster::closeBus() {
  adapter_->close();
  // Logged whatever the debugger's state: the log itself drops it while disabled.
  trace_.logLine(kSysClosed);
}

RecoveryResult AdapterMaster::recoverBus() {
  throw base::RuntimeError(base::RuntimeError::kInvalidCall, "BusEngine",
                           "Bus recovery pulses lines the tool drives itself; " +
                               adapter_->name() +
                               " is an adapter whose driver recovers its own bus");
}

void AdapterMaster::traceCall(const port::AdapterTransfer& done) {
  if (trace_.tracing()) trace_.logLine(adapterTransferLine(adapter_->name(), done));
  recordCall(done);
  if (const auto refusal = refusalOf(done)) {
    if (!probing_) trace_.acknowledgeMissing(refusalErrorLine(*refusal));
  }
}

// One entry a message the call sent, timed when the call returned.
void AdapterMaster::recordCall(const port::AdapterTransfer& done) {
  const bool tracing = trace_.tracing();
  const auto& listener = record_.messageListener();
  if (!tracing && !listener) return;
  const auto time = record_.sinceStart();
  for (std::size_t k = 0; k < done.messages.size() && k < done.results.size(); ++k) {
    const i2c::I2cMessage& message = done.messages[k];
    const i2c::MessageResult& result = done.results[k];
    if (result.outcome == i2c::MessageOutcome::NotSent) continue;
    Transaction entry;
    entry.time = time;
    entry.address = i2c::DeviceAddress::fromByte(message.address).byteFor(message.read);
    entry.read = message.read;
    entry.bytes = message.read ? result.bytes : message.bytes;
    entry.outcome = result.outcome;
    entry.nackedByte = result.nackedByte;
    entry.adapter = true;
    if (listener) listener(entry);
    if (tracing) record_.append(std::move(entry));
  }
}

}  // namespace brelvion::bus
