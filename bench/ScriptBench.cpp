#include "ScriptBench.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <functional>
#include <sstream>
#include <string>

#include "BenchEngine.h"
#include "core/RegisterCommands.h"
#include "capture/BusCapture.h"
#include "simulator/SimulatedParallelPort.h"
#include "scripts/Formats.h"
#include "scripts/ScriptReader.h"

namespace brelvion::bench {

namespace {

using Clock = std::chrono::steady_clock;

double bestSeconds(int runs, const std::function<void()>& body) {
  double best = 1e300;
  for (int run = 0; run < runs; ++run) {
    const auto start = Clock::now();
    body();
    best = std::min(best, std::chrono::duration<double>(Clock::now() - start).count());
  }
  return best;
}

// A bring-up script of `commands` commands as people write them: every command of the
// format, a comment now and then, the widths changing.
std::string largeScript(int commands) {
  std::string text = "; a large bring-up\ndevice 20\nregbits 16\n";
  char line[64];
  for (int i = 0; i < commands; ++i) {
    const unsigned reg = static_cast<unsigned>(i) & 0xFFFF;
    switch (i % 8) {
      case 0:
        std::snprintf(line, sizeof line, "write %04X %02X      ; block %d\n", reg, i & 0xFF, i / 8);
        break;
      case 1:
        std::snprintf(line, sizeof line, "modify %04X 0F %02X\n", reg, i & 0x0F);
        break;
      case 2:
        std::snprintf(line, sizeof line, "poll %04X 80 80 100\n", reg);
        break;
      case 3:
        std::snprintf(line, sizeof line, "valbits 16\n");
        break;
      case 4:
        std::snprintf(line, sizeof line, "expect %04X %04X\n", reg, (i * 7) & 0xFFFF);
        break;
      case 5:
        std::snprintf(line, sizeof line, "valbits 8\n");
        break;
      case 6:
        std::snprintf(line, sizeof line, "read %04X 4\n", reg);
        break;
      default:
        std::snprintf(line, sizeof line, "delay %d\n", i % 50);
        break;
    }
    text += line;
  }
  return text;
}

void readingScripts(const Report& report) {
  const std::string text = largeScript(100'000);
  std::size_t problems = 1;
  const double seconds = bestSeconds(5, [&] {
    problems = scripts::readScript(text, "large.i2cs").problems.size();
  });
  report("script of 100,000 commands: read and checked", seconds * 1e3, "ms", "< 1000",
         seconds < 1.0 && problems == 0);
  report("script reading", static_cast<double>(text.size()) / 1e6 / seconds, "MB/s", "", true);
}

// A capture of the tool's own traffic on the simulated bus: register writes and reads.
std::string largeCapture(int writes) {
  simulator::SimulatedParallelPort port;
  EngineOnPort set(port);
  capture::BusCapture capture;
  port.setCapture(&capture);
  for (int i = 0; i < writes; ++i) {
    core::writeByteRegister(set.core.master(), 0x42, static_cast<std::uint8_t>(i & 0xFF),
                            static_cast<std::uint8_t>((i * 7) & 0xFF));
    if (i % 16 == 15) {
      core::readByteRegisters(set.core.master(), i2c::AfterMessage::Stop, 0x42,
                              static_cast<std::uint8_t>(i & 0xF0), 16);
    }
  }
  port.setCapture(nullptr);
  std::ostringstream out;
  capture.writeVcd(out);
  return out.str();
}

void importingCaptures(const Report& report) {
  const std::string vcd = largeCapture(40'000);
  capture::VcdStats stats;
  {
    // Read once for the count of line changes, the figure the speed is given in.
    struct Count : capture::VcdLevelSink {
      void levels(std::int64_t, bool, bool, std::size_t) override {}
    } count;
    capture::readVcd(vcd, {}, count, &stats);
  }
  std::size_t statements = 0;
  const double seconds = bestSeconds(5, [&] {
    statements = scripts::importText(scripts::Format::Vcd, vcd, "large.vcd", {}).script.statements.size();
  });
  const double perSecond = static_cast<double>(stats.changes) / seconds;
  char what[96];
  std::snprintf(what, sizeof what, "vcd import: %.1f MB, %.2f M line changes", static_cast<double>(vcd.size()) / 1e6,
                static_cast<double>(stats.changes) / 1e6);
  report(what, seconds * 1e3, "ms", "", statements > 40'000);
  report("vcd import: line changes decoded per second", perSecond / 1e6, "M/s", ">= 10", perSecond >= 10e6);
}

}  // namespace

void scriptFigures(const Report& report) {
  readingScripts(report);
  importingCaptures(report);
}

}  // namespace brelvion::bench
