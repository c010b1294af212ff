#include <string>

#include "base/RuntimeError.h"
#include "bus/BusEngine.h"
#include "bus/BusMessages.h"
#include "i2c/DeviceAddress.h"

namespace brelvion::bus {

void BusEngine::openBus(std::int16_t portIndex, std::int16_t debug) {
  lines_.openBus(portIndex);
  trace_.setEnabled(debug == 1);
  if (trace_.tracing()) {
    std::string message(kSysOpenedOnPrefix);
    message.append(lines_.openedOn());
    trace_.logLine(message);
  }
}

void BusEngine::closeBus() {
  lines_.closeBus();
  // Logged whatever the debugger's state: the log itself drops it while disabled.
  trace_.logLine(kSysClosed);
}

void BusEngine::beginMessage(std::int16_t address, bool repeatedStart) {
  addressPhase_ = address;
  if (repeatedStart) {
    sendRepeatedStart();
  } else {
    sendStart();
  }
  transmitByte(address);
  waitAck();
  addressPhase_ = 0;
}

i2c::MessageOutcome BusEngine::sendWrite(std::uint8_t address, std::span<const std::uint8_t> bytes,
                                          bool repeatedStart, bool stopAfter,
                                          std::size_t& nackedByte) {
  const std::uint8_t addressByte = i2c::DeviceAddress::fromByte(address).writeByte();
  std::optional<Transaction> entry = startEntry(addressByte, false);
  if (entry) entry->bytes.assign(bytes.begin(), bytes.end());
  i2c::MessageOutcome outcome = i2c::MessageOutcome::TimedOut;
  try {
    beginMessage(addressByte, repeatedStart);
    outcome = ackReceived_ ? i2c::MessageOutcome::Acknowledged
                                 : i2c::MessageOutcome::AddressNotAcknowledged;
    for (std::size_t i = 0; i < bytes.size(); ++i) {
      transmitByte(bytes[i]);
      waitAck();
      if (!ackReceived_ && outcome == i2c::MessageOutcome::Acknowledged) {
        outcome = i2c::MessageOutcome::DataNotAcknowledged;
        nackedByte = i;
      }
    }
    if (stopAfter) sendStop();
  } catch (const ClockHeldLow&) {
    finishEntry(entry, i2c::MessageOutcome::TimedOut, 0);
    throw;
  }
  finishEntry(entry, outcome, nackedByte);
  return outcome;
}

template <typename Store>
i2c::MessageOutcome BusEngine::sendRead(std::uint8_t address, std::size_t length,
                                         bool repeatedStart, bool stopAfter, Store store) {
  const std::uint8_t addressByte = i2c::DeviceAddress::fromByte(address).readByte();
  std::optional<Transaction> entry = startEntry(addressByte, true);
  i2c::MessageOutcome outcome = i2c::MessageOutcome::TimedOut;
  try {
    beginMessage(addressByte, repeatedStart);
    outcome = ackReceived_ ? i2c::MessageOutcome::Acknowledged
                                 : i2c::MessageOutcome::AddressNotAcknowledged;
    // A probe stops at an address nobody acknowledged, as i2cdetect's do: only the
    // design's own reads clock their bytes whatever the slave answered.
    const bool receive = !probing_ || outcome == i2c::MessageOutcome::Acknowledged;
    for (std::size_t i = 0; receive && i < length; ++i) {
      receiveByte();
      // The last byte gets no acknowledge clock of its own: the STOP follows at once. Its
      // SCL rise, with SDA already low, is what a decoder reads as that byte's ninth clock.
      if (i + 1 < length) sendMasterAck();
      const auto byte = static_cast<std::uint8_t>(receivedByte_);
      store(i, byte);
      if (entry) entry->bytes.push_back(byte);
    }
    if (stopAfter) sendStop();
  } catch (const ClockHeldLow&) {
    finishEntry(entry, i2c::MessageOutcome::TimedOut, 0);
    throw;
  }
  finishEntry(entry, outcome, 0);
  return outcome;
}

// A slave that holds the clock too long ends the transfer: its message timed out, the
// later ones were never sent. That is an outcome here, not an error.
i2c::TransferResult BusEngine::transfer(i2c::MessageSpan messages) {
  i2c::TransferResult result;
  result.messages.resize(messages.size());
  bool repeatedStart = false;
  for (std::size_t i = 0; i < messages.size(); ++i) {
    const i2c::I2cMessage& message = messages[i];
    i2c::MessageResult& outcome = result.messages[i];
    const bool stopAfter = i + 1 == messages.size() || message.after == i2c::AfterMessage::Stop;
    try {
      if (message.read) {
        outcome.bytes.resize(message.readLength);
        outcome.outcome =
            sendRead(message.address, message.readLength, repeatedStart, stopAfter,
                     [&](std::size_t k, std::uint8_t byte) { outcome.bytes[k] = byte; });
      } else {
        outcome.outcome = sendWrite(message.address, message.bytes, repeatedStart, stopAfter,
                                    outcome.nackedByte);
      }
    } catch (const ClockHeldLow&) {
      outcome.outcome = i2c::MessageOutcome::TimedOut;
      break;
    }
    repeatedStart = !stopAfter;
  }
  return result;
}

i2c::TransferResult BusEngine::probe(i2c::MessageSpan messages) {
  const ProbingScope probing(probing_);
  return transfer(messages);
}

bool BusEngine::releaseLinesAndSenseSda() {
  sdaHigh();
  sclHigh();
  return lines_.sda();
}

void BusEngine::endCommandIfTimedOut(const i2c::TransferResult& result) const {
  for (const i2c::MessageResult& message : result.messages) {
    if (message.outcome == i2c::MessageOutcome::TimedOut) throw ClockHeldLow(stretchTimeout_);
  }
}

}  // namespace brelvion::bus
