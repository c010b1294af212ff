#pragma once

#include <chrono>
#include <cstdint>

namespace brelvion::capture {
class BusCapture;
}

namespace brelvion::port {

// The parallel-port access the bus engine is built on: the two byte operations of the
// old port library, plus the wait one bitDelay pass stands for on this backend.
class PortIo {
 public:
  virtual ~PortIo() = default;

  // Reads one byte from an I/O port address.
  virtual std::uint8_t inpb(std::uint16_t port) = 0;
  // Writes one byte to an I/O port address.
  virtual void out(std::uint16_t port, std::uint8_t value) = 0;

  // The passes of one bitDelay, one quantum each. Real hardware waits here so that a line
  // step keeps I2C standard-mode timing; a simulated port only moves its virtual clock.
  virtual void waitQuanta(std::int64_t passes) = 0;
  // The time one pass stands for from now on (kHardwareQuantum until changed).
  virtual void setQuantum(std::chrono::nanoseconds quantum) = 0;

  // Records every change of SCL and SDA into capture from now on; nullptr stops recording.
  // The capture must outlive the recording.
  virtual void setCapture(capture::BusCapture* capture) = 0;
};

}  // namespace brelvion::port
