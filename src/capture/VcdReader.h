#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "capture/BusCapture.h"

namespace brelvion::capture {

// The two signals of a VCD file that are the bus lines, by their names in the file
// ("scl" and "sda" in a BusCapture, "D0" and "D1" from a logic analyser's channels).
// Names are matched without regard to case.
struct VcdSignals {
  std::string scl = "scl";
  std::string sda = "sda";
};

// What reading found besides the levels.
struct VcdStats {
  // The last time stamp of the file, in nanoseconds.
  std::int64_t endTimeNs = 0;
  // Value changes given for SCL or SDA (the initial dump included).
  std::size_t changes = 0;
  // Changes that set a line to the level it already had (after the initial dump).
  std::size_t redundantChanges = 0;
  // Time stamps before the last one at which neither line changed.
  std::size_t idleTimeStamps = 0;
  // Lines of the file.
  std::size_t lines = 0;
};

struct VcdError {
  std::size_t line = 0;
  std::string message;
};

// Where the levels of the two lines go: once at the first time both are known, then at
// each time stamp at which either of them changed. Times are nanoseconds as the file has
// them (a finer timescale is rounded down; changes that meet at one nanosecond are one);
// line is the file's line of that time stamp.
class VcdLevelSink {
 public:
  virtual ~VcdLevelSink() = default;
  virtual void levels(std::int64_t timeNs, bool scl, bool sda, std::size_t line) = 0;
};

// Reads a value change dump: the header's $timescale (1 ns where it gives none) and $var
// declarations, then time stamps and value changes. Scalar changes (0, 1, z for a released
// line, x for an unknown level) and one-bit vectors are taken for the two lines; every
// other signal's changes are skipped. Returns the first fault of the file with its line,
// after which nothing more is given to sink.
std::optional<VcdError> readVcd(std::string_view text, const VcdSignals& signals,
                                VcdLevelSink& sink, VcdStats* stats = nullptr);

// The whole capture in memory, for checks and small files.
struct VcdCapture {
  std::vector<BusCapture::Sample> samples;
  VcdStats stats;
};
std::optional<VcdCapture> readVcdCapture(std::string_view text, const VcdSignals& signals,
                                         VcdError* error = nullptr);

}  // namespace brelvion::capture
