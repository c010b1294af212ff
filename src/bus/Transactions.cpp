#include <string>

#include "base/RuntimeError.h"
#include "bus/BusEngine.h"
#include "bus/BusMessages.h"
#include "numconv/HexText.h"
#include "port/LptRegisters.h"

namespace brelvion::bus {

void BusEngine::OpenBus(std::int16_t portIndex, std::int16_t debug) {
  // Any other index keeps the port chosen last.
  if (portIndex >= 0 && portIndex < static_cast<std::int16_t>(port::kLptBases.size())) {
    const std::uint16_t base = port::kLptBases[static_cast<std::size_t>(portIndex)];
    state_.DataPort = base;
    state_.StatusPort = static_cast<std::uint16_t>(base + 1);
    state_.ControlPort = static_cast<std::uint16_t>(base + 2);
  }
  state_.SavedControl = port_.inpb(state_.ControlPort);
  state_.DebugEnabled = debug == 1 ? 1 : 0;
  if (trace_.tracing()) {
    std::string message(kSysOpenedPrefix);
    message.append(numconv::UpperHex(state_.DataPort)).append("h");
    trace_.logLine(message);
  }
}

void BusEngine::CloseBus() {
  port_.out(state_.ControlPort, state_.SavedControl);
  port_.out(state_.DataPort, kDataSdaHigh);
  // Logged whatever the debugger's state: the log itself drops it while disabled.
  trace_.logLine(kSysClosed);
}

void BusEngine::sendAddress(std::int16_t address) {
  state_.AddressPhase = address;
  SendStart();
  TransmitByte(address);
  WaitAck();
  state_.AddressPhase = 0;
}

void BusEngine::WriteRegister(std::int16_t& address, std::int16_t subAddress, std::int16_t data) {
  address = static_cast<std::int16_t>(address & 0xFE);
  sendAddress(address);
  TransmitByte(subAddress);
  WaitAck();
  TransmitByte(data);
  WaitAck();
  SendStop();
}

void BusEngine::SetRegisterPointer(std::int16_t& address, std::int16_t subAddress) {
  address = static_cast<std::int16_t>(address & 0xFE);
  sendAddress(address);
  TransmitByte(subAddress);
  WaitAck();
  SendStop();
}

void BusEngine::ReadSequential(std::int16_t& address, std::int16_t count) {
  if (count < 0) {
    throw base::RuntimeError(base::RuntimeError::kInvalidCall, "ReadSequential");
  }
  state_.ReadBuffer.assign(static_cast<std::size_t>(count) + 1, 0);
  address = static_cast<std::int16_t>(address | 1);
  sendAddress(address);
  // A wider index than count: with count 32767 a 16-bit one would wrap before the end.
  for (std::int32_t i = 0; i <= count; ++i) {
    ReceiveByte();
    // The last byte gets no acknowledge clock of its own: the STOP follows at once. Its SCL
    // rise, with SDA already low, is what a decoder reads as that byte's ninth clock.
    if (i < count) SendMasterAck();
    state_.ReadBuffer[static_cast<std::size_t>(i)] = state_.ReceivedByte;
  }
  SendStop();
}

}  // namespace brelvion::bus
