// Speed figures of the bus engine, the debug log, the command files and the scripts, with
// the goals they are held to.
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <functional>
#include <string>
#include <vector>

#include "BenchEngine.h"
#include "BusBench.h"
#include "CommandFileBench.h"
#include "GpioBench.h"
#include "RegisterMapBench.h"
#include "ScriptBench.h"
#include "StepTiming.h"
#include "core/RegisterCommands.h"
#include "bus/BusEngine.h"
#include "simulator/SimulatedParallelPort.h"
#include "trace/DebugLog.h"

namespace brelvion::bench {
namespace {

using Clock = std::chrono::steady_clock;

// Records the writes an engine makes, passing everything on to the real port.
class WriteRecorder : public port::PortIo {
 public:
  explicit WriteRecorder(port::PortIo& inner) : inner_(inner) {}
  std::uint8_t inpb(std::uint16_t port) override { return inner_.inpb(port); }
  void out(std::uint16_t port, std::uint8_t value) override {
    writes.emplace_back(port, value);
    inner_.out(port, value);
  }
  void waitQuanta(std::int64_t passes) override { inner_.waitQuanta(passes); }
  void setQuantum(std::chrono::nanoseconds quantum) override { inner_.setQuantum(quantum); }
  void setCapture(capture::BusCapture* capture) override { inner_.setCapture(capture); }
  std::vector<std::pair<std::uint16_t, std::uint8_t>> writes;

 private:
  port::PortIo& inner_;
};

// Best of several runs, in nanoseconds per repetition.
double bestNsPer(int repetitions, const std::function<void()>& body, int runs = 7) {
  double best = 1e300;
  for (int run = 0; run < runs; ++run) {
    const auto start = Clock::now();
    for (int i = 0; i < repetitions; ++i) body();
    const double ns = std::chrono::duration<double, std::nano>(Clock::now() - start).count();
    best = std::min(best, ns / repetitions);
  }
  return best;
}

void report(const char* what, double value, const char* unit, const std::string& goal, bool met) {
  std::printf("%-52s %10.3f %-4s %-22s %s\n", what, value, unit, goal.c_str(),
              goal.empty() ? "" : (met ? "met" : "MISSED"));
}

void engineVersusBareWrites() {
  simulator::SimulatedParallelPort recorded;
  WriteRecorder recorder(recorded);
  EngineOnPort recording(recorder);
  recorder.writes.clear();
  core::writeByteRegister(recording.core.master(), 0x42, 0x12, 0x80);
  const auto writes = recorder.writes;
  const double writesPerOp = static_cast<double>(writes.size());

  simulator::SimulatedParallelPort enginePort;
  EngineOnPort timed(enginePort);
  simulator::SimulatedParallelPort barePort;
  port::PortIo& bare = barePort;
  // Alternating single runs, best of each, so both see the same state of a shared machine.
  double engineNs = 1e300;
  double bareNs = 1e300;
  for (int run = 0; run < 15; ++run) {
    engineNs =
        std::min(engineNs,
                 bestNsPer(
                     1000,
                     [&] { core::writeByteRegister(timed.core.master(), 0x42, 0x12, 0x80); }, 1));
    bareNs = std::min(bareNs, bestNsPer(
                                  1000,
                                  [&] {
                                    for (const auto& [port, value] : writes) bare.out(port, value);
                                  },
                                  1));
  }

  const double ratio = engineNs / bareNs;
  report("engine ns per line step (simulated port)", engineNs / writesPerOp, "ns", "", true);
  report("bare out() ns per write (same writes)", bareNs / writesPerOp, "ns", "", true);
  report("engine / bare writes", ratio, "x", "<= 1.35", ratio <= 1.35);
}

void logMessageCost(double bound) {
  NullDesktop desktop;
  trace::PlainTraceHolder trace;
  trace::DebugLog log(trace, desktop);
  log.debuggerState().traceBufferSize = bound;
  log.setEnabled(true);
  const std::string message = "Wisp MSG004:  Transmitting data byte on bus ";
  for (int i = 0; i < 2000; ++i) log.logMessage(message);  // fill to the bound first
  const double ns = bestNsPer(20000, [&] { log.logMessage(message); });
  const std::string what =
      "LogMessage us per message, bound " + std::to_string(static_cast<int>(bound));
  report(what.c_str(), ns / 1000.0, "us", bound >= 250 ? "< 5" : "", ns / 1000.0 < 5.0);
}

void dump256(bool debugger) {
  simulator::SimulatedParallelPort port;
  EngineOnPort set(port);
  set.log.setEnabled(debugger);
  const double ns = bestNsPer(20, [&] {
    core::readByteRegisters(set.core.master(), i2c::AfterMessage::Stop, 0x42, 0, 256);
  });
  report(debugger ? "256-register dump, debugger on (bound 10)" : "256-register dump, debugger off",
         ns / 1e6, "ms", "", true);
}

}  // namespace
}  // namespace brelvion::bench

int main() {
  using namespace brelvion::bench;
  std::printf("%-52s %10s %-4s %-22s %s\n", "figure", "value", "unit", "goal", "");
  engineVersusBareWrites();
  logMessageCost(10);
  logMessageCost(250);
  dump256(false);
  dump256(true);
  const StepFigures steps = measureHardwareSteps(3000);
  report("hardware quantum: minimum line step", steps.minimumUs, "us", ">= 5.0",
         steps.minimumUs >= 5.0);
  report("hardware quantum: mean line step", steps.meanUs, "us", "<= 5.5", steps.meanUs <= 5.5);
  std::printf("(%zu hardware-timed steps measured)\n", steps.steps);
  gpioFigures(report);
  commandFileFigures(report);
  busFigures(report);
  scriptFigures(report);
  registerMapFigures(report);
  return 0;
}
