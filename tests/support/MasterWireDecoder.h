#pragma once

#include <cstdint>
#include <initializer_list>
#include <string>
#include <string_view>
#include <vector>

#include "port/LptRegisters.h"
#include "support/FakeGpioKernel.h"
#include "support/RecordingPort.h"
#include "support/WireTokens.h"

namespace brelvion::testing {

// Reads back what the master put on the wire from a RecordingPort's writes, through the
// project's wire decoder: "S" for a START, "P" for a STOP and one character per SCL pulse
// with the master's SDA level ('1' released, '0' pulled low). The engine's own view,
// independent of any slave. The lines start released, as the bus is when idle.
inline std::string masterWire(const std::vector<RecordingPort::Access>& log) {
  bool scl = true;
  bool sda = true;
  WireTokenText tokens;
  capture::WireEventDecoder decoder(tokens);
  std::int64_t step = 0;
  decoder.levels(step, scl, sda);
  for (const RecordingPort::Access& access : log) {
    if (access.kind != RecordingPort::Kind::Write) continue;
    const auto address = port::classifyLptAddress(access.port);
    if (!address) continue;
    if (address->reg == port::LptRegister::Data) {
      sda = port::sdaReleasedByData(access.value);
    } else if (address->reg == port::LptRegister::Control) {
      scl = port::sclReleasedByControl(access.value);
    } else {
      continue;
    }
    decoder.levels(++step, scl, sda);
  }
  decoder.finish();
  return tokens.text;
}

// The same from the line sets of GPIO lines on the fake kernel: SCL and SDA by offset.
inline std::string masterWire(const std::vector<FakeGpioKernel::Event>& events,
                              std::uint32_t sclOffset, std::uint32_t sdaOffset) {
  bool scl = true;
  bool sda = true;
  WireTokenText tokens;
  capture::WireEventDecoder decoder(tokens);
  std::int64_t step = 0;
  decoder.levels(step, scl, sda);
  for (const FakeGpioKernel::Event& event : events) {
    if (event.kind != FakeGpioKernel::Kind::Set) continue;
    if (event.offset == sclOffset) {
      scl = event.value;
    } else if (event.offset == sdaOffset) {
      sda = event.value;
    } else {
      continue;
    }
    decoder.levels(++step, scl, sda);
  }
  decoder.finish();
  return tokens.text;
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
