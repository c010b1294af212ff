#pragma once

#include <chrono>
#include <cstdint>
#include <optional>
#include <string>

#include "bus/BusMessages.h"
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
// control register, SDA read back on the status register, of the port chosen when the bus
// was opened (the register addresses are 0 until then). The cable has no way to read SCL.
// Opening the bus saves the control register, closing it puts it back.
class LptCable final : public port::BitLines {
 public:
  explicit LptCable(port::PortIo& port) : port_(port) {}

  void setSda(bool released) override {
    port_.out(dataPort_, released ? kDataSdaHigh : kDataSdaLow);
  }
  void setScl(bool released) override {
    port_.out(controlPort_, released ? kControlSclHigh : kControlSclLow);
  }
  bool sda() override { return port::sdaHighInStatus(port_.inpb(statusPort_)); }
  std::optional<bool> scl() override { return std::nullopt; }
  void waitQuanta(std::int64_t passes) override { port_.waitQuanta(passes); }
  void setQuantum(std::chrono::nanoseconds quantum) override { port_.setQuantum(quantum); }
  std::string name() const override {
    return "the parallel port at " + numconv::upperHex(dataPort_) + "h";
  }

  // Chooses the parallel port at portIndex (any other index keeps the one chosen last) and
  // saves its control register.
  void openBus(std::int16_t portIndex) override;
  // Puts the saved control register back and lets SDA go.
  void closeBus() override;
  std::string openedOn() const override {
    return std::string(kSysOpenedPrefix.substr(kSysOpenedOnPrefix.size())) +
           numconv::upperHex(dataPort_) + "h";
  }

  // The registers of the port chosen, and the control register as opening found it.
  std::uint16_t dataPort() const { return dataPort_; }
  std::uint16_t statusPort() const { return statusPort_; }
  std::uint16_t controlPort() const { return controlPort_; }
  std::uint8_t savedControl() const { return savedControl_; }

 private:
  void choosePort(std::int16_t index);

  port::PortIo& port_;
  std::uint16_t dataPort_ = 0;
  std::uint16_t statusPort_ = 0;
  std::uint16_t controlPort_ = 0;
  std::uint8_t savedControl_ = 0;
};

}  // namespace brelvion::bus
