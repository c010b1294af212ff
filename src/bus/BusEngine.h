#pragma once

#include <cstdint>

#include "bus/BusState.h"
#include "bus/BusTrace.h"
#include "port/PortIo.h"

namespace brelvion::bus {

// Line encoding of the cable (see platform/LptRegisters.h for the bits).
inline constexpr std::uint8_t kDataSdaHigh = 0x7F;
inline constexpr std::uint8_t kDataSdaLow = 0xFF;
inline constexpr std::uint8_t kControlSclHigh = 0x08;
inline constexpr std::uint8_t kControlSclLow = 0x00;

// The I2C master, bit-banged through a parallel port. Three layers: line steps (a port
// write and a BitDelay), primitives (START, STOP, byte out, acknowledge wait, byte in,
// master acknowledge) and register transactions. No procedure returns a result or stops
// early: outcomes are read from state().
class BusEngine {
 public:
  BusEngine(BusState& state, port::PortIo& port, BusTrace& trace)
      : state_(state), port_(port), trace_(trace) {}

  BusState& state() { return state_; }
  const BusState& state() const { return state_; }

  // Line control.
  void BitDelay(double d);
  // Bus clear and release: six clock pulses, each ending in a STOP, then both lines high.
  void InitPort(std::int16_t timeout);

  // Primitives. All but SendStart expect SCL low, and all but SendStop leave it low.
  void SendStart();
  void SendStop();
  void TransmitByte(std::int16_t b);
  void WaitAck();
  void ReceiveByte();
  void SendMasterAck();

  // Transactions. The address is changed in place: bit 0 cleared for the writes, set for reads.
  void OpenBus(std::int16_t portIndex, std::int16_t debug);
  void CloseBus();
  void WriteRegister(std::int16_t& address, std::int16_t subAddress, std::int16_t data);
  void SetRegisterPointer(std::int16_t& address, std::int16_t subAddress);
  // Reads count + 1 bytes into ReadBuffer. A negative count throws RuntimeError 5 before
  // the bus is touched.
  void ReadSequential(std::int16_t& address, std::int16_t count);

 private:
  void sdaHigh() { step(state_.DataPort, kDataSdaHigh); }
  void sdaLow() { step(state_.DataPort, kDataSdaLow); }
  void sclHigh() { step(state_.ControlPort, kControlSclHigh); }
  void sclLow() { step(state_.ControlPort, kControlSclLow); }
  void step(std::uint16_t port, std::uint8_t value) {
    port_.out(port, value);
    BitDelay(state_.BusDelay);
  }
  bool sdaSensedHigh();
  void log(std::string_view message) {
    if (trace_.tracing()) trace_.logLine(message);
  }
  // START and the address byte with its acknowledge wait, AddressPhase set around them.
  void sendAddress(std::int16_t address);

  BusState& state_;
  port::PortIo& port_;
  BusTrace& trace_;
};

}  // namespace brelvion::bus
