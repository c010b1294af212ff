#pragma once

#include <array>
#include <cstdint>
#include <memory>

#include "port/LptRegisters.h"
#include "port/PortIo.h"
#include "port/StepTimer.h"
#include "simulator/SimulatedBusConfig.h"
#include "simulator/SimulatedI2cBus.h"

namespace brelvion::simulator {

// The three parallel ports of a PC, one of them with the I2C cable and a simulated bus on
// it, running on a virtual clock so that the engine can be exercised at full speed with
// the timing a real port would have.
//
// Data and control registers are latches that read back what was last written (data 00h
// and control 0Ch at power-up: both cable lines released). On the cabled port they drive
// the master's SDA and SCL; its status register reads the SDA wire in bit 7. The other
// status bits read kStatusIdleBits: the cable leaves the printer's nERROR, SELECT, PAPER
// END and nACK inputs open, so the port's pull-ups read them high, and bits 0 to 2 are not
// implemented and read low. A port without the cable reads bit 7 high too, as nothing
// pulls it low. Other addresses read FFh and ignore writes.
//
// Every access takes kAccessNs of virtual time and a write takes effect at the start of it.
// Slaves answer at once, so the next access sees them; a capture shows their answer
// kSlaveResponseNs after the edge that caused it, as a real device's output delay would,
// rather than at the same instant. A bitDelay pass waits for the next deadline of a
// StepTimer with the hardware quantum, so a line step lasts 5 us as on the real ports.
class SimulatedParallelPort : public port::PortIo {
 public:
  static constexpr std::int64_t kAccessNs = 1000;
  static constexpr std::int64_t kSlaveResponseNs = 300;
  static constexpr std::uint8_t kStatusIdleBits = 0x78;
  static constexpr std::uint8_t kDataAtPowerUp = 0x00;
  static constexpr std::uint8_t kControlAtPowerUp = 0x0C;

  // The default has one camera sensor at 42h on the port at 378h. Throws RuntimeError 5 for
  // a configuration checkSimulatedBusConfig rejects.
  explicit SimulatedParallelPort(const SimulatedBusConfig& config = {});

  std::uint8_t inpb(std::uint16_t port) override;
  void out(std::uint16_t port, std::uint8_t value) override;
  void waitQuanta(std::int64_t passes) override;
  void setQuantum(std::chrono::nanoseconds quantum) override { timer_.setQuantum(quantum); }
  // Records the wire levels, slaves' acknowledges and data included, in virtual time.
  void setCapture(capture::BusCapture* capture) override;

  SimulatedI2cBus& bus() { return bus_; }
  const SimulatedI2cBus& bus() const { return bus_; }
  std::int64_t nowNs() const { return now_; }
  // Lets ns of virtual time pass with the lines as they are (a script's delay): the
  // slaves see the time go by, a capture the idle bus.
  void passTime(std::int64_t ns);
  std::uint16_t cabledBase() const { return cabledBase_; }

 private:
  struct Latches {
    std::uint8_t data = kDataAtPowerUp;
    std::uint8_t control = kControlAtPowerUp;
  };

  // Starts an access: the time it takes effect.
  std::int64_t access() {
    followBusTime();
    const std::int64_t start = now_;
    now_ += kAccessNs;
    return start;
  }
  // A slave's clock stretch ends in virtual time; the cable cannot see it, only the capture.
  void followBusTime();
  std::uint8_t readRegister(std::uint16_t port) const;
  void driveCable(std::int64_t when, const Latches& latches);

  SimulatedI2cBus bus_;
  std::uint16_t cabledBase_;
  std::array<Latches, port::kLptBases.size()> latches_{};
  std::int64_t now_ = 0;
  port::StepTimer timer_{port::kHardwareQuantum};
  capture::BusCapture* capture_ = nullptr;
};

// The port the tool runs on when asked to simulate the hardware.
std::unique_ptr<SimulatedParallelPort> makeSimulatedPort(const SimulatedBusConfig& config);

}  // namespace brelvion::simulator
