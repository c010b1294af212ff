#pragma once

#include <array>
#include <cstddef>
#include <cstdint>

#include "capture/BusCapture.h"

namespace brelvion::port::gpio {

// The capture of SCL and SDA on GPIO lines as the master knows them, made as the parallel
// port's is: its own level of each line from the moment it sets it, and what a slave does
// to a line from the moment a read shows it. Slaves change SDA only while SCL is low, so a
// level read from a released SDA is written back to the moment SDA was last free to change;
// SCL read low after the master released it (a slave stretching the clock) is written back
// to the release, and rises where a read shows it high. Lines are indexed as in the request
// (kSclIndex, kSdaIndex).
class GpioCapture {
 public:
  // Records into capture from now on, starting with the lines as they are; nullptr stops.
  // The capture must outlive the recording.
  void setCapture(capture::BusCapture* capture, std::int64_t nowNs);
  bool recording() const { return capture_ != nullptr; }

  // The master set a line: true released it, false pulled it low. Followed while nothing
  // records too, so that a capture started later begins from the lines as they are.
  void lineSet(int index, bool released, std::int64_t nowNs);
  // A read of a line gave high (or low).
  void lineRead(int index, bool high, std::int64_t nowNs);

 private:
  bool wire(int index) const;
  void record(std::int64_t nowNs);

  capture::BusCapture* capture_ = nullptr;
  std::array<bool, 2> released_{true, true};
  // A slave holds the line low while the master releases it, as the latest read showed.
  std::array<bool, 2> slaveHolds_{false, false};
  std::size_t sdaFreeSince_ = 0;
  std::size_t sclReleasedAt_ = 0;
};

}  // namespace brelvion::port::gpio
