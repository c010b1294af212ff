#pragma once

#include <cstdint>
#include <initializer_list>
#include <string>
#include <string_view>
#include <vector>

#include "port/LptRegisters.h"
#include "support/RecordingPort.h"

namespace brelvion::testing {

// Reads back what the master put on the wire from a RecordingPort's writes: "S" for a
// START, "P" for a STOP and one character per SCL pulse with the master's SDA level
// ('1' released, '0' pulled low). The engine's own view, independent of any slave.
inline std::string masterWire(const std::vector<RecordingPort::Access>& log) {
  bool scl = true;
  bool sda = true;
  std::string wire;
  for (const RecordingPort::Access& access : log) {
    if (access.kind != RecordingPort::Kind::Write) continue;
    const auto address = port::classifyLptAddress(access.port);
    if (!address) continue;
    if (address->reg == port::LptRegister::Data) {
      const bool next = port::sdaReleasedByData(access.value);
      if (scl && sda && !next) wire += 'S';
      if (scl && !sda && next) wire += 'P';
      sda = next;
    } else if (address->reg == port::LptRegister::Control) {
      const bool next = port::sclReleasedByControl(access.value);
      if (!scl && next) wire += sda ? '1' : '0';
      scl = next;
    }
  }
  return wire;
}

// The nine clock pulses of a byte sent by the master and an acknowledge slot it left free.
inline std::string sentByte(std::uint8_t value) {
  std::string bits;
  for (int bit = 7; bit >= 0; --bit) bits += (value >> bit) & 1 ? '1' : '0';
  return bits + '1';
}

// The pieces of an expected wire one after the other. Appending, unlike "S" + a string,
// keeps GCC 12's -Wrestrict quiet at -O3.
inline std::string wire(std::initializer_list<std::string_view> pieces) {
  std::string joined;
  for (std::string_view piece : pieces) joined.append(piece);
  return joined;
}

}  // namespace brelvion::testing
