// The engine on an adapter: the same transactions and transfers, carried out by the
// adapter's driver as whole transfers, one trace line for each driver call.
#include "bus/AdapterTraceLine.h"
#include "bus/BusEngine.h"
#include "bus/BusMessages.h"
#include "port/DeviceAddress.h"

namespace brelvion::bus {

BusEngine::~BusEngine() { setAdapter(nullptr); }

void BusEngine::setAdapter(port::BusAdapter* adapter) {
  if (adapter_ != nullptr) adapter_->setTransferListener(nullptr);
  adapter_ = adapter;
  if (adapter_ != nullptr) {
    adapter_->setTransferListener([this](const port::AdapterTransfer& done) { traceAdapterCall(done); });
  }
}

// No port register is read or written: there are no lines. The port addresses are still
// set, so that a later return to the lines finds the port chosen last.
void BusEngine::openAdapterBus(std::int16_t debug) {
  state_.DebugEnabled = debug == 1 ? 1 : 0;
  adapter_->open();
  if (trace_.tracing()) trace_.logLine(std::string(kSysAdapterOpenedPrefix) + adapter_->name());
}

void BusEngine::closeAdapterBus() {
  adapter_->close();
  trace_.logLine(kSysClosed);
}

port::TransferResult BusEngine::adapterTransfer(const std::vector<port::I2cMessage>& messages) {
  adapterRefusal_.reset();
  port::TransferResult result = adapter_->transfer(messages);
  state_.AckReceived = result.acknowledged();
  return result;
}

port::TransferResult BusEngine::adapterRegisterRead(std::uint8_t address, std::uint8_t subAddress,
                                                    std::size_t length, bool repeatedStart) {
  port::I2cMessage pointer{address, false, {subAddress}};
  pointer.after = repeatedStart ? port::AfterMessage::RepeatedStart : port::AfterMessage::Stop;
  const port::I2cMessage read{port::DeviceAddress::fromByte(address).readByte(), true, {}, length};
  port::TransferResult result = adapterTransfer({pointer, read});
  keepReadBytes(result.messages[1]);
  return result;
}

void BusEngine::keepReadBytes(const port::MessageResult& read) {
  state_.ReadBuffer.assign(read.bytes.begin(), read.bytes.end());
}

void BusEngine::traceAdapterCall(const port::AdapterTransfer& done) {
  if (trace_.tracing()) trace_.logLine(adapterTransferLine(adapter_->name(), done));
  recordAdapterCall(done);
  if (const auto refusal = refusalOf(done)) {
    if (!adapterRefusal_) adapterRefusal_ = refusal;
    acknowledgeMissing(refusalErrorLine(*refusal));
  }
}

port::TransferResult BusEngine::probe(const std::vector<port::I2cMessage>& messages) {
  struct Probing {
    bool& flag;
    ~Probing() { flag = false; }
  } probing{probing_};
  probing_ = true;
  return transfer(messages);
}

bool BusEngine::ReleaseLinesAndSenseSda() {
  if (adapter_ != nullptr) return true;
  sdaHigh();
  sclHigh();
  return lines_->sda();
}

}  // namespace brelvion::bus
