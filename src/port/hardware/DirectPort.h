#pragma once

#include <array>
#include <chrono>
#include <cstdint>

#include "port/HardwarePort.h"
#include "port/LptRegisters.h"
#include "port/StepTimer.h"
#include "port/hardware/PortSystemCalls.h"

namespace brelvion::port::hardware {

// A real parallel port driven with inb/outb on its I/O addresses, as the old port library
// did. It is the fastest path but needs root (or CAP_SYS_RAWIO), bypasses the kernel's
// parport sharing, and exists only on x86 Linux; elsewhere every access fails with
// RuntimeError 68.
//
// Permission for the three registers of a base is asked for at the first access to one of
// them, so a refusal (RuntimeError 70) surfaces where the old library failed: at the first
// call, not at construction. Values are the raw register bits.
class DirectPort final : public HardwarePort {
 public:
  // calls must outlive the port.
  explicit DirectPort(PortSystemCalls& calls = PortSystemCalls::real(),
                      std::chrono::nanoseconds quantum = kHardwareQuantum);
  ~DirectPort() override;

  DirectPort(const DirectPort&) = delete;
  DirectPort& operator=(const DirectPort&) = delete;

 protected:
  std::uint8_t readRegister(std::uint16_t port) override;
  void writeRegister(std::uint16_t port, std::uint8_t value) override;

 private:
  void requireAccess(std::uint16_t base, const char* operation);

  PortSystemCalls& calls_;
  std::array<bool, kLptBases.size()> granted_{};
};

}  // namespace brelvion::port::hardware
