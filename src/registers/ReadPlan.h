#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

#include "registers/RegisterMap.h"

namespace brelvion::registers {

// i2c-dev's limit on the bytes of one message; the bit-banging engine has none of its own.
inline constexpr std::size_t kI2cDevMessageLimit = 8192;

// One sequential read: byteCount bytes from start, which hold the registers first to
// first + count - 1 of the map, one after the other without a gap.
struct ReadRun {
  std::uint32_t start = 0;
  std::size_t byteCount = 0;
  std::size_t first = 0;
  std::size_t count = 0;
  bool operator==(const ReadRun&) const = default;
};

// The reads that fetch the chosen registers (indexes into map.registers, any order):
// contiguous readable registers in one sequential read each, split only where the next
// register does not start where the last one ended, where a register may not be read
// (write-only ones are never read, and never read past), where a register was not chosen,
// and where a read would pass maxBytes. maxBytes below the widest register still reads
// that register whole. Without register addresses (register-bits 0) nothing tells the
// device where to start, so a read never holds more than one register.
std::vector<ReadRun> planReads(const RegisterMap& map, std::vector<std::size_t> chosen,
                               std::size_t maxBytes);

// Every register of the map.
std::vector<ReadRun> planReadAll(const RegisterMap& map, std::size_t maxBytes);

}  // namespace brelvion::registers
