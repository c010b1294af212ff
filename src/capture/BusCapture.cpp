#include "capture/BusCapture.h"

#include <ostream>
#include <sstream>

#include "base/UserFile.h"

namespace brelvion::capture {

namespace {

constexpr char kSclId = '!';
constexpr char kSdaId = '"';

void writeLevel(std::ostream& out, bool level, char id) {
  out << (level ? '1' : '0') << id << '\n';
}

}  // namespace

void BusCapture::record(std::int64_t timeNs, bool scl, bool sda) {
  if (!samples_.empty()) {
    Sample& last = samples_.back();
    if (last.scl == scl && last.sda == sda) return;
    // Two changes at one instant are one change: a VCD time stamp must not repeat.
    if (timeNs <= last.timeNs) {
      last.scl = scl;
      last.sda = sda;
      dropIfUnchanged();
      return;
    }
  }
  samples_.push_back({timeNs, scl, sda});
}

void BusCapture::dropIfUnchanged() {
  const std::size_t n = samples_.size();
  if (n >= 2 && samples_[n - 2].scl == samples_[n - 1].scl &&
      samples_[n - 2].sda == samples_[n - 1].sda) {
    samples_.pop_back();
  }
}

void BusCapture::amendSda(std::size_t from, bool sda) { amendLine(from, &Sample::sda, sda); }

void BusCapture::amendScl(std::size_t from, bool scl) { amendLine(from, &Sample::scl, scl); }

void BusCapture::amendLine(std::size_t from, bool Sample::*line, bool level) {
  if (from >= samples_.size()) return;
  // In place: only the samples from `from` on change, and a sample that no longer
  // changes anything is merged into the one before it.
  std::size_t kept = from;
  for (std::size_t i = from; i < samples_.size(); ++i) {
    Sample sample = samples_[i];
    sample.*line = level;
    if (kept > 0 && samples_[kept - 1].scl == sample.scl && samples_[kept - 1].sda == sample.sda) {
      continue;
    }
    samples_[kept++] = sample;
  }
  samples_.resize(kept);
}

void BusCapture::writeVcd(std::ostream& out) const {
  out << "$version brelvion-i2c bus capture $end\n"
      << "$timescale 1 ns $end\n"
      << "$scope module i2c $end\n"
      << "$var wire 1 " << kSclId << " scl $end\n"
      << "$var wire 1 " << kSdaId << " sda $end\n"
      << "$upscope $end\n"
      << "$enddefinitions $end\n";
  if (samples_.empty()) return;

  const std::int64_t start = samples_.front().timeNs;
  out << "#0\n$dumpvars\n";
  writeLevel(out, samples_.front().scl, kSclId);
  writeLevel(out, samples_.front().sda, kSdaId);
  out << "$end\n";
  for (std::size_t i = 1; i < samples_.size(); ++i) {
    const Sample& previous = samples_[i - 1];
    const Sample& sample = samples_[i];
    out << '#' << (sample.timeNs - start) << '\n';
    if (sample.scl != previous.scl) writeLevel(out, sample.scl, kSclId);
    if (sample.sda != previous.sda) writeLevel(out, sample.sda, kSdaId);
  }
  // A final time stamp so viewers show the last levels for a while.
  out << '#' << (samples_.back().timeNs - start + 10'000) << '\n';
}

void BusCapture::writeVcdFile(const std::string& path) const {
  std::ostringstream text;
  writeVcd(text);
  base::writeUserFile(path, text.str(), "Bus Capture");
}

}  // namespace brelvion::capture
