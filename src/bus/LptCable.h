#pragma once

#include <chrono>
#include <cstdint>
#include <optional>
#include <string>

#include "bus/BusState.h"
#include "numconv/HexText.h"
#include "port/BitLines.h"
#include "port/LptRegisters.h"
#include "port/PortIo.h"

namespace brelvion::bus {

// The bytes the engine writes to drive the cable (port/LptRegisters.h has the bits). It
// never reads, masks or merges a register first: each step writes one of these.
inline constexpr std::uint8_t kDataSdaHigh = 0x7F;
inline constexpr std::uint8_t kDataSdaLow = 0xFF;
inline constexpr std::uint8_t kControlSclHigh = 0x08;
inline constexpr std::uint8_t kControlSclLow = 0x00;

// The parallel-port interface cable as bus lines: SDA on the data register, SCL on the
// control register, SDA read back on the status register, of the port OpenBus chose (the
// bus state's addresses). The cable has no way to read SCL.
class LptCable final : public port::BitLines {
 public:
  LptCable(port::PortIo& port, const BusState& state) : port_(port), state_(state) {}

  void setSda(bool released) override {
    port_.out(state_.DataPort, released ? kDataSdaHigh : kDataSdaLow);
  }
  void setScl(bool released) override {
    port_.out(state_.ControlPort, released ? kControlSclHigh : kControlSclLow);
  }
  bool sda() override { return port::sdaHighInStatus(port_.inpb(state_.StatusPort)); }
  std::optional<bool> scl() override { return std::nullopt; }
  void waitQuanta(std::int64_t passes) override { port_.waitQuanta(passes); }
  void setQuantum(std::chrono::nanoseconds quantum) override { port_.setQuantum(quantum); }
  std::string name() const override {
    return "the parallel port at " + numconv::UpperHex(state_.DataPort) + "h";
  }

 private:
  port::PortIo& port_;
  const BusState& state_;
};

}  // namespace brelvion::bus
