#pragma once

#include <cstddef>
#include <string>
#include <vector>

#include "capture/BusCapture.h"
#include "capture/I2cWireDecoder.h"

namespace brelvion::testing {

// The wire events of the project's decoder as text, for comparing wires at a glance: "S"
// for a START, "P" for a STOP and '1' or '0' for each bit (the SDA level as SCL rises).
class WireTokenText : public capture::WireEventSink {
 public:
  void event(const capture::WireEvent& event) override {
    switch (event.kind) {
      case capture::WireEvent::Kind::Start:
        text += 'S';
        break;
      case capture::WireEvent::Kind::Stop:
        text += 'P';
        break;
      case capture::WireEvent::Kind::Bit:
        text += event.bit ? '1' : '0';
        break;
    }
  }
  std::string text;
};

// The tokens of a capture's samples (the first sample only sets the levels).
inline std::string wireTokens(const std::vector<capture::BusCapture::Sample>& samples,
                              std::int64_t glitchNs = 0) {
  WireTokenText tokens;
  capture::WireEventDecoder decoder(tokens, glitchNs);
  for (const auto& sample : samples) decoder.levels(sample.timeNs, sample.scl, sample.sda);
  decoder.finish();
  return tokens.text;
}

}  // namespace brelvion::testing
