#pragma once

#include <chrono>
#include <cstddef>
#include <cstdint>

#include "port/PortIo.h"
#include "port/StepTimer.h"

namespace brelvion::port {

// What the real-port backends share: bitDelay passes timed on the monotonic clock, and a
// capture of the lines as the master can know them.
class HardwarePort : public PortIo {
 public:
  explicit HardwarePort(std::chrono::nanoseconds quantum = kHardwareQuantum) : timer_(quantum) {}

  std::uint8_t inpb(std::uint16_t port) final;
  void out(std::uint16_t port, std::uint8_t value) final;
  void waitQuanta(std::int64_t passes) final;
  void setQuantum(std::chrono::nanoseconds quantum) final { timer_.setQuantum(quantum); }
  void setCapture(capture::BusCapture* capture) final;

 protected:
  virtual std::uint8_t readRegister(std::uint16_t port) = 0;
  virtual void writeRegister(std::uint16_t port, std::uint8_t value) = 0;

 private:
  void noteWrite(std::uint16_t port, std::uint8_t value);
  void noteSensedSda(bool high);
  bool wireSda() const { return masterSdaReleased_ && !slaveHoldsSda_; }
  void recordLines();

  StepTimer timer_;
  capture::BusCapture* capture_ = nullptr;

  // The master knows its own outputs. What a slave does to SDA it learns only when it reads
  // the status register; slaves change SDA only while SCL is low, so a sensed level is
  // written back into the capture to the moment SDA was last free to change.
  bool scl_ = true;
  bool masterSdaReleased_ = true;
  bool slaveHoldsSda_ = false;
  std::size_t sdaFreeSince_ = 0;
};

}  // namespace brelvion::port
