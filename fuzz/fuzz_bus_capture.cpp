// The capture writer: whatever line changes are recorded (and amended), the samples stay
// a clean change list, the VCD text reads back to exactly those samples, and the file
// written through writeVcdFile or writeUserFile holds exactly that text, whatever was at
// the file's name before.

#include <sys/stat.h>
#include <unistd.h>

#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <sstream>
#include <string>
#include <vector>

#include "FuzzSupport.h"
#include "base/UserFile.h"
#include "capture/BusCapture.h"
#include "capture/VcdReader.h"

namespace {

using brelvion::fuzz::FuzzInput;
using brelvion::capture::BusCapture;
namespace fs = std::filesystem;

constexpr int kMaxSteps = 2048;
// The virtual clock of a very long session still stays far below this.
constexpr std::int64_t kLatestTime = std::int64_t{1} << 48;

const fs::path& scratch() { return brelvion::fuzz::scratchDirectory(); }

struct Levels {
  bool scl;
  bool sda;
};

// Records with strictly increasing times must come back as exactly the changes among them.
void checkAgainstChanges(const BusCapture& capture, const std::vector<BusCapture::Sample>& calls) {
  std::vector<BusCapture::Sample> changes;
  for (const auto& call : calls) {
    if (changes.empty() || changes.back().scl != call.scl || changes.back().sda != call.sda) {
      changes.push_back(call);
    }
  }
  const auto& samples = capture.samples();
  FUZZ_CHECK(samples.size() == changes.size(), std::to_string(samples.size()) + " samples for " +
                                                   std::to_string(changes.size()) + " changes");
  for (std::size_t i = 0; i < samples.size(); ++i) {
    FUZZ_CHECK(samples[i].timeNs == changes[i].timeNs && samples[i].scl == changes[i].scl &&
                   samples[i].sda == changes[i].sda,
               "sample " + std::to_string(i) + " differs from the change recorded");
  }
}

// Samples from index `from` on (and the one before, which they are compared with).
void checkSamples(const BusCapture& capture, std::size_t from, const Levels* last) {
  const auto& samples = capture.samples();
  for (std::size_t i = from > 0 ? from : 1; i < samples.size(); ++i) {
    FUZZ_CHECK(samples[i].timeNs > samples[i - 1].timeNs,
               "times not increasing at " + std::to_string(i));
    FUZZ_CHECK(samples[i].scl != samples[i - 1].scl || samples[i].sda != samples[i - 1].sda,
               "a sample without a change at " + std::to_string(i));
  }
  if (last != nullptr) {
    FUZZ_CHECK(
        !samples.empty() && samples.back().scl == last->scl && samples.back().sda == last->sda,
        "the capture does not end on the levels last recorded");
  }
}

void checkVcd(const BusCapture& capture, const std::string& vcd) {
  brelvion::capture::VcdError error;
  const auto back = brelvion::capture::readVcdCapture(vcd, {}, &error);
  FUZZ_CHECK(back.has_value(), "the VCD does not read back: line " + std::to_string(error.line) +
                                   ": " + error.message);
  // The writer sets a line only to a new level, and marks no time without a change but the
  // last.
  FUZZ_CHECK(back->stats.redundantChanges == 0, "a line set to the level it had");
  FUZZ_CHECK(back->stats.idleTimeStamps == 0, "a time stamp without a change");
  const auto& samples = capture.samples();
  FUZZ_CHECK(back->samples.size() == samples.size(), "VCD holds another number of samples");
  for (std::size_t i = 0; i < samples.size(); ++i) {
    const auto& read = back->samples[i];
    FUZZ_CHECK(read.timeNs == samples[i].timeNs - samples.front().timeNs &&
                   read.scl == samples[i].scl && read.sda == samples[i].sda,
               "VCD sample " + std::to_string(i) + " differs");
  }
  if (!samples.empty()) {
    FUZZ_CHECK(back->stats.endTimeNs > back->samples.back().timeNs, "no time after the last change");
  }
}

std::string contents(const fs::path& path) {
  std::ifstream file(path, std::ios::binary);
  FUZZ_CHECK(file.good(), "cannot read back " + path.string());
  return std::string((std::istreambuf_iterator<char>(file)), std::istreambuf_iterator<char>());
}

// What is at the file's name before the capture is written, and which writer writes it.
struct FileCase {
  int kind = 0;  // 0 nothing, 1 an older file, 2 a symbolic link to an older file
  mode_t mode = 0644;
  bool throughCapture = false;
};

FileCase chooseFileCase(FuzzInput& input) {
  FileCase file;
  file.kind = static_cast<int>(input.below(3));
  file.mode = input.flag() ? 0600 : 0644;
  file.throughCapture = input.flag();
  return file;
}

// The path to write to, and the regular file that must end up holding the text.
fs::path prepareTarget(const FileCase& file, fs::path& real) {
  const fs::path path = scratch() / "bus.vcd";
  for (const auto& entry : fs::directory_iterator(scratch())) fs::remove(entry.path());
  real = path;
  if (file.kind == 0) return path;
  if (file.kind == 2) {
    real = scratch() / "real.vcd";
    fs::create_symlink("real.vcd", path);
  }
  std::ofstream(real, std::ios::binary) << "older content\n";
  chmod(real.c_str(), file.mode);
  return path;
}

void checkFiles(const FileCase& file, const BusCapture& capture, const std::string& vcd) {
  fs::path real;
  const fs::path path = prepareTarget(file, real);
  if (file.throughCapture) {
    capture.writeVcdFile(path.string());
  } else {
    brelvion::base::writeUserFile(path.string(), vcd, "Bus Capture");
  }
  FUZZ_CHECK(contents(real) == vcd, "the file does not hold the VCD text");
  FUZZ_CHECK(file.kind != 2 || fs::is_symlink(path), "the link was replaced by a file");
  if (file.kind != 0) {
    struct stat info {};
    FUZZ_CHECK(stat(real.c_str(), &info) == 0 && (info.st_mode & 0777) == file.mode,
               "the file's mode was lost");
  }
  const auto entries = std::distance(fs::directory_iterator(scratch()), fs::directory_iterator());
  FUZZ_CHECK(entries == (file.kind == 2 ? 2 : 1), "files left beside the capture");
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  FuzzInput input(data, size);
  const FileCase file = chooseFileCase(input);
  // In order, every record is a new instant; otherwise times may repeat or go back and
  // amendments come in, as a recorder that learns levels late does.
  const bool inOrder = input.flag();
  BusCapture capture;
  std::vector<BusCapture::Sample> calls;
  std::int64_t time = input.below(1u << 20);
  Levels last{true, true};
  bool recorded = false;
  for (int step = 0; step < kMaxSteps && input.remaining() > 1; ++step) {
    const std::uint8_t op = input.byte();
    if (!inOrder && op >= 0xF0) {
      const std::size_t from =
          input.below(static_cast<std::uint32_t>(capture.samples().size()) + 2);
      const bool sda = (op & 1) != 0;
      const bool reaches = from < capture.samples().size();
      capture.amendSda(from, sda);
      if (reaches) last.sda = sda;
      checkSamples(capture, from, recorded ? &last : nullptr);
      continue;
    }
    const std::int64_t delta = input.byte() * (input.flag() ? 1000 : 1);
    time = inOrder || (op & 0x40) == 0 ? time + 1 + delta : time - delta / 4;
    time = std::min(std::max<std::int64_t>(time, 0), kLatestTime);
    last = Levels{(op & 1) != 0, (op & 2) != 0};
    capture.record(time, last.scl, last.sda);
    calls.push_back({time, last.scl, last.sda});
    recorded = true;
    // A record touches only the last sample.
    checkSamples(capture, capture.samples().size() - 1, &last);
  }
  checkSamples(capture, 0, recorded ? &last : nullptr);
  if (inOrder) checkAgainstChanges(capture, calls);

  std::ostringstream out;
  capture.writeVcd(out);
  checkVcd(capture, out.str());
  checkFiles(file, capture, out.str());
  return 0;
}
