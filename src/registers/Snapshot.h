#pragma once

#include <chrono>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "registers/RegisterMap.h"

namespace brelvion::registers {

// One register's value as a snapshot keeps it.
struct RegisterValue {
  std::uint32_t address = 0;
  // Empty for a register without a name.
  std::string name;
  // The line's width in bits, as bytes.
  int valueBytes = 1;
  std::uint32_t value = 0;
  bool operator==(const RegisterValue&) const = default;
};

// The values of a map at one moment, with the device and the time in a header. A text
// file (docs/guide/register-maps.md, "Snapshots and comparisons"):
//
//   brelvion-register-snapshot 1
//   device: SIM16 camera sensor
//   i2c-address: 20
//   register-bits: 16
//   byte-order: big
//   time: 2025-03-04 10:22:31 +0100
//
//   0000 CHIP_ID 16 B716
//   0100 MODE_SELECT 8 01
//
// After the first line come the header's "key: value" lines up to an empty line, then a
// line a register: address and value in hex, the name ("-" for none) and the width in
// bits. Lines starting with # are comments.
struct Snapshot {
  std::string device;
  std::optional<std::uint8_t> deviceAddress;
  // The header's register-bits, as bytes.
  int addressBytes = 1;
  i2c::ByteOrder order = i2c::ByteOrder::BigEndian;
  std::string time;
  // In address order, none overlapping another.
  std::vector<RegisterValue> values;
  bool operator==(const Snapshot&) const = default;
};

std::string snapshotText(const Snapshot& snapshot);

// Mistakes are errors 321 naming file, line and column, as for descriptions; nothing is
// returned then.
Snapshot readSnapshot(const std::string& text, const std::string& file);

// "2025-03-04 10:22:31 +0100": the local time of a snapshot's header.
std::string snapshotTime(std::chrono::system_clock::time_point when);

}  // namespace brelvion::registers
