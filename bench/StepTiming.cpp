#include "StepTiming.h"

#include <algorithm>
#include <numeric>

#include "BenchEngine.h"
#include "core/RegisterCommands.h"
#include "bus/BusEngine.h"
#include "port/HardwarePort.h"
#include "trace/DebugLog.h"

namespace brelvion::bench {

namespace {

// A hardware backend whose registers go nowhere; it notes when each write happens and
// whether a delay pass ran since the write before it. Every read sees SDA low.
class TimestampingNullPort : public port::HardwarePort {
 public:
  struct Write {
    std::int64_t timeNs;
    bool afterDelay;
  };
  std::vector<Write> writes;

  void noteDelay() { delayed_ = true; }

 protected:
  std::uint8_t readRegister(std::uint16_t) override { return 0x00; }
  void writeRegister(std::uint16_t, std::uint8_t) override {
    writes.push_back({port::monotonicNanos(), delayed_});
    delayed_ = false;
  }

 private:
  bool delayed_ = false;
};

// Lets the null port see the delay passes without changing how they are timed.
class DelayWatchingPort : public port::PortIo {
 public:
  explicit DelayWatchingPort(TimestampingNullPort& inner) : inner_(inner) {}
  std::uint8_t inpb(std::uint16_t port) override { return inner_.inpb(port); }
  void out(std::uint16_t port, std::uint8_t value) override { inner_.out(port, value); }
  void waitQuanta(std::int64_t passes) override {
    inner_.noteDelay();
    inner_.waitQuanta(passes);
  }
  void setQuantum(std::chrono::nanoseconds quantum) override { inner_.setQuantum(quantum); }
  void setCapture(capture::BusCapture* capture) override { inner_.setCapture(capture); }

 private:
  TimestampingNullPort& inner_;
};

}  // namespace

StepFigures measureHardwareSteps(int writes) {
  TimestampingNullPort nullPort;
  DelayWatchingPort port(nullPort);
  EngineOnPort set(port);
  // Every read sees SDA low, as the acknowledges need: the START's check would take it for a
  // held bus.
  set.engine.setSdaCheckBeforeStart(false);

  nullPort.writes.reserve(static_cast<std::size_t>(writes) * 90);
  for (int i = 0; i < writes; ++i) {
    core::writeByteRegister(set.core.master(), 0x42, static_cast<std::uint8_t>(i & 0xFF), 0x5A);
  }

  std::vector<double> steps;
  for (std::size_t i = 1; i < nullPort.writes.size(); ++i) {
    if (!nullPort.writes[i].afterDelay) continue;
    steps.push_back(static_cast<double>(nullPort.writes[i].timeNs - nullPort.writes[i - 1].timeNs) /
                    1000.0);
  }
  StepFigures figures;
  figures.steps = steps.size();
  if (steps.empty()) return figures;
  figures.minimumUs = *std::min_element(steps.begin(), steps.end());
  figures.meanUs =
      std::accumulate(steps.begin(), steps.end(), 0.0) / static_cast<double>(steps.size());
  return figures;
}

}  // namespace brelvion::bench
