#include "CommandFileBench.h"

#include <stdlib.h>

#include <algorithm>
#include <chrono>
#include <filesystem>
#include <fstream>

#include "BenchEngine.h"
#include "commandfiles/Dump.h"
#include "commandfiles/Sender.h"
#include "commandfiles/TmpFile.h"
#include "simulator/SimulatedParallelPort.h"

namespace brelvion::bench {

namespace {

using Clock = std::chrono::steady_clock;
namespace fs = std::filesystem;

// A directory for the figures' files, gone afterwards.
struct Scratch {
  Scratch() {
    std::string pattern = (fs::temp_directory_path() / "brelvion-bench-XXXXXX").string();
    if (mkdtemp(pattern.data()) != nullptr) path = pattern;
  }
  ~Scratch() {
    std::error_code ignored;
    fs::remove_all(path, ignored);
  }
  fs::path path;
};

// A command file as people write them: a comment line now and then, one write a line, a
// comment after some of them.
std::string writeCommandFile(const fs::path& path, long long writes) {
  std::ofstream out(path, std::ios::binary);
  for (long long i = 0; i < writes; ++i) {
    if (i % 16 == 0) out << "; block " << i / 16 << ": face detect defaults\r\n";
    char line[48];
    const int length = std::snprintf(line, sizeof line, "42 %02llX %02llX%s\r\n", i & 0xFF,
                                     (i * 7) & 0xFF, i % 4 == 0 ? " ; gain" : "");
    out.write(line, length);
  }
  return path.string();
}

double bestSeconds(int runs, const std::function<void()>& body) {
  double best = 1e300;
  for (int run = 0; run < runs; ++run) {
    const auto start = Clock::now();
    body();
    best = std::min(best, std::chrono::duration<double>(Clock::now() - start).count());
  }
  return best;
}

double megabytes(const std::string& path) { return static_cast<double>(fs::file_size(path)) / 1e6; }

void readingAndCopying(const Report& report, const fs::path& dir, core::ToolCore& core) {
  const std::string small = writeCommandFile(dir / "100k.i2c", 100'000);
  const std::string large = writeCommandFile(dir / "333k.i2c", 333'334);  // a million values

  const double copySeconds =
      bestSeconds(5, [&] { commandfiles::createTmpFile(core, small, dir.string()); });
  report("copy without comments, 100,000 writes", megabytes(small) / copySeconds, "MB/s", "", true);

  const std::string copy = core.values().tmpFileName;
  long long counted = 0;
  const double readSeconds = bestSeconds(5, [&] { counted = commandfiles::countWrites(copy); });
  report("read values, 100,000 writes", megabytes(copy) / readSeconds, "MB/s", "",
         counted == 100'000);

  commandfiles::createTmpFile(core, large, dir.string());
  const double largeSeconds =
      bestSeconds(3, [&] { counted = commandfiles::countWrites(core.values().tmpFileName); });
  const double perValueSmall = readSeconds / 300'000 * 1e9;
  const double perValueLarge = largeSeconds / 1'000'002 * 1e9;
  report("read ns per value, 100,000 writes", perValueSmall, "ns", "", true);
  report("read ns per value, 1,000,002 values", perValueLarge, "ns", "", true);
  const double growth = perValueLarge / perValueSmall;
  report("per-value cost, 1M values / 300k values", growth, "x", "<= 1.5 (linear)", growth <= 1.5);
}

void hardwareTimedDump(const Report& report, const fs::path& dir) {
  simulator::SimulatedParallelPort port;
  EngineOnPort set(port);
  double busMs = 0;
  const double wallSeconds = bestSeconds(5, [&] {
    std::int16_t device = 0x42;
    const std::int64_t start = port.nowNs();
    commandfiles::dumpRegisters(set.engine, i2c::AfterMessage::Stop, set.desktop, device, 255,
                                (dir / "Dump.i2c").string());
    busMs = static_cast<double>(port.nowNs() - start) / 1e6;
  });
  report("256-register dump: bus time at hardware timing", busMs, "ms", "", true);
  report("256-register dump: computer time, file included", wallSeconds * 1e3, "ms", "", true);
}

}  // namespace

void commandFileFigures(const Report& report) {
  Scratch scratch;
  if (scratch.path.empty()) return;
  simulator::SimulatedParallelPort port;
  EngineOnPort set(port);
  readingAndCopying(report, scratch.path, set.core);
  hardwareTimedDump(report, scratch.path);
}

}  // namespace brelvion::bench
