#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "port/BusCapture.h"

namespace brelvion::fuzz {

// A bus capture read back from its VCD text, independently of the writer: the samples
// with their times as the file has them, and the closing time stamp.
struct VcdCapture {
  std::vector<port::BusCapture::Sample> samples;
  std::int64_t endTime = 0;
};

// The capture, or nullopt with the reason in *error when the text is not a well-formed
// two-signal (scl, sda) VCD.
std::optional<VcdCapture> readVcd(const std::string& text, std::string* error);

// What a logic analyser's I2C decoder sees on the wires: "S" for a START, "P" for a STOP
// and, for every rising SCL edge, the SDA level as '1' or '0'. Sets *bothChanged when a
// sample changes both lines at once, which leaves the order of the two edges unknown.
std::string wireTokens(const std::vector<port::BusCapture::Sample>& samples, bool* bothChanged);

}  // namespace brelvion::fuzz
