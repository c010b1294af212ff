#include <string>

#include "base/RuntimeError.h"
#include "bus/BusEngine.h"
#include "bus/BusMessages.h"
#include "bus/LptCable.h"
#include "numconv/HexText.h"
#include "port/DeviceAddress.h"
#include "port/LptRegisters.h"

namespace brelvion::bus {

void BusEngine::OpenBus(std::int16_t portIndex, std::int16_t debug) {
  if (adapter_ == nullptr && !onCable()) {
    openLines(debug);
    return;
  }
  // Any other index keeps the port chosen last.
  if (portIndex >= 0 && portIndex < static_cast<std::int16_t>(port::kLptBases.size())) {
    const std::uint16_t base = port::kLptBases[static_cast<std::size_t>(portIndex)];
    state_.DataPort = base;
    state_.StatusPort = static_cast<std::uint16_t>(base + 1);
    state_.ControlPort = static_cast<std::uint16_t>(base + 2);
  }
  if (adapter_ != nullptr) {
    openAdapterBus(debug);
    return;
  }
  state_.SavedControl = port_->inpb(state_.ControlPort);
  state_.DebugEnabled = debug == 1 ? 1 : 0;
  if (trace_.tracing()) {
    std::string message(kSysOpenedPrefix);
    message.append(numconv::UpperHex(state_.DataPort)).append("h");
    trace_.logLine(message);
  }
}

void BusEngine::CloseBus() {
  if (adapter_ != nullptr) {
    closeAdapterBus();
    return;
  }
  if (!onCable()) {
    closeLines();
  } else {
    port_->out(state_.ControlPort, state_.SavedControl);
    port_->out(state_.DataPort, kDataSdaHigh);
  }
  // Logged whatever the debugger's state: the log itself drops it while disabled.
  trace_.logLine(kSysClosed);
}

// Lines of their own have no port to choose and no register to save: the bus is open on
// them from the start.
void BusEngine::openLines(std::int16_t debug) {
  state_.DebugEnabled = debug == 1 ? 1 : 0;
  if (trace_.tracing()) {
    std::string message(kSysOpenedOnPrefix);
    message.append(lines_->name());
    trace_.logLine(message);
  }
}

// Both lines let go, SCL first, as the cable's CloseBus leaves them.
void BusEngine::closeLines() {
  lines_->setScl(true);
  lines_->setSda(true);
}

void BusEngine::beginMessage(std::int16_t address, bool repeatedStart) {
  state_.AddressPhase = address;
  if (repeatedStart) {
    SendRepeatedStart();
  } else {
    SendStart();
  }
  TransmitByte(address);
  WaitAck();
  state_.AddressPhase = 0;
}

port::MessageOutcome BusEngine::sendWrite(std::uint8_t address, std::span<const std::uint8_t> bytes,
                                          bool repeatedStart, bool stopAfter,
                                          std::size_t& nackedByte) {
  const std::uint8_t addressByte = port::DeviceAddress::fromByte(address).writeByte();
  std::optional<Transaction> entry = startEntry(addressByte, false);
  if (entry) entry->bytes.assign(bytes.begin(), bytes.end());
  port::MessageOutcome outcome = port::MessageOutcome::TimedOut;
  try {
    beginMessage(addressByte, repeatedStart);
    outcome = state_.AckReceived ? port::MessageOutcome::Acknowledged
                                 : port::MessageOutcome::AddressNotAcknowledged;
    for (std::size_t i = 0; i < bytes.size(); ++i) {
      TransmitByte(bytes[i]);
      WaitAck();
      if (!state_.AckReceived && outcome == port::MessageOutcome::Acknowledged) {
        outcome = port::MessageOutcome::DataNotAcknowledged;
        nackedByte = i;
      }
    }
    if (stopAfter) SendStop();
  } catch (const ClockHeldLow&) {
    finishEntry(entry, port::MessageOutcome::TimedOut, 0);
    throw;
  }
  finishEntry(entry, outcome, nackedByte);
  return outcome;
}

template <typename Store>
port::MessageOutcome BusEngine::sendRead(std::uint8_t address, std::size_t length,
                                         bool repeatedStart, bool stopAfter, Store store) {
  const std::uint8_t addressByte = port::DeviceAddress::fromByte(address).readByte();
  std::optional<Transaction> entry = startEntry(addressByte, true);
  port::MessageOutcome outcome = port::MessageOutcome::TimedOut;
  try {
    beginMessage(addressByte, repeatedStart);
    outcome = state_.AckReceived ? port::MessageOutcome::Acknowledged
                                 : port::MessageOutcome::AddressNotAcknowledged;
    // A probe stops at an address nobody acknowledged, as i2cdetect's do: only the
    // design's own reads clock their bytes whatever the slave answered.
    const bool receive = !probing_ || outcome == port::MessageOutcome::Acknowledged;
    for (std::size_t i = 0; receive && i < length; ++i) {
      ReceiveByte();
      // The last byte gets no acknowledge clock of its own: the STOP follows at once. Its
      // SCL rise, with SDA already low, is what a decoder reads as that byte's ninth clock.
      if (i + 1 < length) SendMasterAck();
      const auto byte = static_cast<std::uint8_t>(state_.ReceivedByte);
      store(i, byte);
      if (entry) entry->bytes.push_back(byte);
    }
    if (stopAfter) SendStop();
  } catch (const ClockHeldLow&) {
    finishEntry(entry, port::MessageOutcome::TimedOut, 0);
    throw;
  }
  finishEntry(entry, outcome, 0);
  return outcome;
}

// A slave that holds the clock too long ends the transfer: its message timed out, the
// later ones were never sent. That is an outcome here, not an error.
port::TransferResult BusEngine::transfer(const std::vector<port::I2cMessage>& messages) {
  if (adapter_ != nullptr) return adapterTransfer(messages);
  port::TransferResult result;
  result.messages.resize(messages.size());
  bool repeatedStart = false;
  for (std::size_t i = 0; i < messages.size(); ++i) {
    const port::I2cMessage& message = messages[i];
    port::MessageResult& outcome = result.messages[i];
    const bool stopAfter = i + 1 == messages.size() || message.after == port::AfterMessage::Stop;
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
      outcome.outcome = port::MessageOutcome::TimedOut;
      break;
    }
    repeatedStart = !stopAfter;
  }
  return result;
}

void BusEngine::WriteRegister(std::int16_t& address, std::int16_t subAddress, std::int16_t data) {
  address = port::DeviceAddress::fromByte(static_cast<std::uint8_t>(address)).writeByte();
  const std::uint8_t bytes[] = {static_cast<std::uint8_t>(subAddress),
                                static_cast<std::uint8_t>(data)};
  if (adapter_ != nullptr) {
    adapterTransfer({{static_cast<std::uint8_t>(address), false, {bytes[0], bytes[1]}}});
    return;
  }
  std::size_t nacked = 0;
  sendWrite(static_cast<std::uint8_t>(address), bytes, false, true, nacked);
}

void BusEngine::SetRegisterPointer(std::int16_t& address, std::int16_t subAddress) {
  address = port::DeviceAddress::fromByte(static_cast<std::uint8_t>(address)).writeByte();
  const std::uint8_t bytes[] = {static_cast<std::uint8_t>(subAddress)};
  if (adapter_ != nullptr) {
    adapterTransfer({{static_cast<std::uint8_t>(address), false, {bytes[0]}}});
    return;
  }
  std::size_t nacked = 0;
  sendWrite(static_cast<std::uint8_t>(address), bytes, false, true, nacked);
}

void BusEngine::ReadSequential(std::int16_t& address, std::int16_t count) {
  if (count < 0) {
    throw base::RuntimeError(base::RuntimeError::kInvalidCall, "ReadSequential");
  }
  // A wider length than count: with count 32767 a 16-bit one would wrap before the end.
  const std::size_t length = static_cast<std::size_t>(count) + 1;
  address = static_cast<std::int16_t>(address | 1);
  if (adapter_ != nullptr) {
    port::I2cMessage read{static_cast<std::uint8_t>(address), true, {}, length};
    keepReadBytes(adapterTransfer({read}).messages[0]);
    return;
  }
  state_.ReadBuffer.assign(length, 0);
  sendRead(static_cast<std::uint8_t>(address), length, false, true,
           [this](std::size_t i, std::uint8_t byte) { state_.ReadBuffer[i] = byte; });
}

bool BusEngine::ReadRegisters(std::int16_t& address, std::int16_t subAddress,
                              std::int16_t count) {
  if (count < 0) {
    throw base::RuntimeError(base::RuntimeError::kInvalidCall, "ReadRegisters");
  }
  if (adapter_ == nullptr && !state_.RepeatedStartReads) {
    SetRegisterPointer(address, subAddress);
    const bool pointerAcknowledged = state_.AckReceived;
    ReadSequential(address, count);
    return pointerAcknowledged && state_.AckReceived;
  }
  const std::size_t length = static_cast<std::size_t>(count) + 1;
  const auto device = port::DeviceAddress::fromByte(static_cast<std::uint8_t>(address)).writeByte();
  address = static_cast<std::int16_t>(address | 1);
  if (adapter_ != nullptr) {
    return adapterRegisterRead(device, static_cast<std::uint8_t>(subAddress), length,
                               state_.RepeatedStartReads)
        .acknowledged();
  }
  state_.ReadBuffer.assign(length, 0);
  std::size_t nacked = 0;
  const std::uint8_t pointer[] = {static_cast<std::uint8_t>(subAddress)};
  const bool pointerAcknowledged =
      sendWrite(device, pointer, false, false, nacked) == port::MessageOutcome::Acknowledged;
  const bool readAcknowledged =
      sendRead(static_cast<std::uint8_t>(address), length, true, true,
               [this](std::size_t i, std::uint8_t byte) { state_.ReadBuffer[i] = byte; }) ==
      port::MessageOutcome::Acknowledged;
  return pointerAcknowledged && readAcknowledged;
}

}  // namespace brelvion::bus
