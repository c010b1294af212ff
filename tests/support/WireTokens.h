#pragma once

#include <cstddef>
#include <string>
#include <vector>

#include "port/BusCapture.h"
#include "port/I2cWireDecoder.h"

namespace brelvion::testing {

// The wire events of the project's decoder as text, for comparing wires at a glance: "S"
// for a START, "P" for a STOP and '1' or '0' for each bit (the SDA level as SCL rises).
class WireTokenText : public port::WireEventSink {
 public:
  void event(const port::WireEvent& event) override {
    switch (event.kind) {
      case port::WireEvent::Kind::Start:
        text += 'S';
        break;
      case port::WireEvent::Kind::Stop:
        text += 'P';
        break;
      case port::WireEvent::Kind::Bit:
        text += event.bit ? '1' : '0';
        break;
    }
  }
  std::string text;
};

// The tokens of a capture's samples (the first sample only sets the levels).
inline std::string wireTokens(const std::vector<port::BusCapture::Sample>& samples,
                              std::int64_t glitchNs = 0) {
  WireTokenText tokens;
  port::WireEventDecoder decoder(tokens, glitchNs);
  for (const auto& sample : samples) decoder.levels(sample.timeNs, sample.scl, sample.sda);
  decoder.finish();
  return tokens.text;
}

}  // namespace brelvion::testing
