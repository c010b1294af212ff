#pragma once

#include <array>
#include <chrono>
#include <cstdint>
#include <filesystem>
#include <string>

#include "port/HardwarePort.h"
#include "port/LptRegisters.h"
#include "port/StepTimer.h"
#include "port/hardware/ParportDevices.h"
#include "port/hardware/PortSystemCalls.h"

namespace brelvion::port::hardware {

// A real parallel port reached through the Linux ppdev driver (/dev/parportN), which
// needs no root rights: membership of the group that owns the node ('lp') is enough.
//
// The engine names ports by their legacy I/O bases 0x378, 0x278 and 0x3BC. The first
// access to a register of a base opens the ppdev node whose port the kernel reports at
// that base and claims it exclusively, so a printer driver cannot write to the bus
// meanwhile. Until then nothing is opened: as with the old port library, a missing or
// busy port shows up at the first access, not at construction.
//
// Register values are the raw hardware bits, as inb/outb would see them: ppdev passes
// PPWCONTROL, PPRCONTROL and PPRSTATUS straight to the port's registers and inverts
// nothing, so SELECT IN is control 0x08 and BUSY is status 0x80 exactly as wired. Two
// ppdev limits show through: control reads return only the four line bits (the rest
// read 0), and control writes set only those four lines, except that bit 5 turns the
// data lines around as on the hardware.
//
// Errors are RuntimeErrors naming the device and the fix: 53 when no ppdev node serves the
// base, 70 when the node may not be opened, 68 when the port is busy or a call fails.
class PpdevPort final : public HardwarePort {
 public:
  // calls must outlive the port; root is where /proc and /dev are looked up.
  explicit PpdevPort(PortSystemCalls& calls = PortSystemCalls::real(),
                     std::filesystem::path root = "/",
                     std::chrono::nanoseconds quantum = kHardwareQuantum);
  ~PpdevPort() override;

  PpdevPort(const PpdevPort&) = delete;
  PpdevPort& operator=(const PpdevPort&) = delete;

 protected:
  std::uint8_t readRegister(std::uint16_t port) override;
  void writeRegister(std::uint16_t port, std::uint8_t value) override;

 private:
  struct OpenDevice {
    int fd = -1;
    std::string path;
  };

  OpenDevice& deviceFor(std::uint16_t base, const char* operation);
  OpenDevice openDevice(std::uint16_t base, const char* operation);
  void claim(int fd, const std::string& path, const char* operation);
  void transfer(const OpenDevice& device, unsigned long request, std::uint8_t& value,
                const char* operation);
  void closeAll() noexcept;

  PortSystemCalls& calls_;
  std::filesystem::path root_;
  std::array<OpenDevice, kLptBases.size()> devices_{};
};

}  // namespace brelvion::port::hardware
