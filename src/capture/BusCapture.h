#pragma once

#include <cstdint>
#include <iosfwd>
#include <string>
#include <vector>

namespace brelvion::capture {

// Every level change of SCL and SDA with its time, as a logic analyser would see the
// two wires, written out as a VCD file with the signals "scl" and "sda".
class BusCapture {
 public:
  struct Sample {
    std::int64_t timeNs;
    bool scl;
    bool sda;
  };

  // Notes the levels at timeNs; only changes are kept. A time not after the last sample's
  // replaces that sample's levels, so time stamps stay strictly increasing.
  void record(std::int64_t timeNs, bool scl, bool sda);

  // Rewrites SDA from sample index `from` to the end, for a recorder that learns a line
  // level only after the fact (a master that senses SDA some time after a slave set it).
  void amendSda(std::size_t from, bool sda);
  // The same for SCL, for a recorder that learns only after releasing SCL that a slave held
  // it low (a stretched clock).
  void amendScl(std::size_t from, bool scl);

  const std::vector<Sample>& samples() const { return samples_; }

  // Times in the file count from the first sample.
  void writeVcd(std::ostream& out) const;
  // Through writeUserFile: a regular file gets the whole capture or stays as it was; a
  // failure throws RuntimeError naming the file and the cause.
  void writeVcdFile(const std::string& path) const;

 private:
  void dropIfUnchanged();
  void amendLine(std::size_t from, bool Sample::*line, bool level);

  std::vector<Sample> samples_;
};

}  // namespace brelvion::capture
