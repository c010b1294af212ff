#pragma once

#include <cstdint>
#include <string>

#include "base/RuntimeError.h"
#include "port/LptRegisters.h"
#include "port/hardware/PortAddressText.h"

namespace brelvion::port::hardware {

// Which known port and register an engine address is. The real backends can only reach
// the registers of the three known ports, so any other address is refused before it gets
// near the hardware, where a stray inb/outb could fault the process or upset a device.
inline LptAddress requireLptAddress(std::uint16_t port, const char* operation) {
  if (const auto address = classifyLptAddress(port)) return *address;
  throw base::RuntimeError(base::RuntimeError::kInvalidCall, operation,
                           "I/O address " + portAddressText(port) +
                               " is not a register of a parallel port at 0x378, 0x278 or 0x3BC");
}

}  // namespace brelvion::port::hardware
