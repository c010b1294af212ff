#pragma once

#include <type_traits>

#include "bus/BusEngine.h"
#include "core/ToolCore.h"
#include "simulator/SimulatedParallelPort.h"
#include "support/DesignTransactions.h"
#include "support/FakeDesktop.h"
#include "support/RecordingPort.h"
#include "trace/DebugLog.h"
#include "trace/DebuggerState.h"
#include "trace/TraceHolder.h"

namespace brelvion::testing {

// The simulated parallel port with nothing on its bus to answer.
struct NoDevicePort : simulator::SimulatedParallelPort {
  NoDevicePort() : SimulatedParallelPort(noSensors()) {}
  static simulator::SimulatedBusConfig noSensors() {
    simulator::SimulatedBusConfig config;
    config.sensorAddresses = {};
    return config;
  }
};

// A fresh set of the program-wide objects around a bus engine, on any port.
template <typename Port>
struct EngineSet {
  Port port;
  FakeDesktop desktop;
  core::ToolCore core{port, desktop};
  trace::DebuggerState& debuggerState = core.log().debuggerState();
  trace::TraceHolder& trace = core.trace();
  trace::DebugLog& log = core.log();
  bus::BusEngine& engine = core.engine();
  // The design's register transactions on the engine (DesignTransactions.h).
  DesignTransactions design{engine};

  // A recording port answers reads from its script, not from a bus: the START's check of
  // SDA would take a scripted answer meant for an acknowledge or a data bit.
  EngineSet() {
    if constexpr (std::is_same_v<Port, RecordingPort>) engine.setSdaCheckBeforeStart(false);
  }

  // The acknowledge timeout initPort would set, without its bus clear.
  void setAckTimeout(std::int16_t timeout) {
    bus::LineSettings settings = engine.settings();
    settings.ackTimeout = timeout;
    engine.apply(settings);
  }

  // Trace lines as the log wrote them, without the line breaks.
  std::vector<std::string> traceLines() const {
    std::vector<std::string> lines;
    const std::string& text = trace.text();
    std::size_t start = 0;
    while (start <= text.size()) {
      const std::size_t end = text.find("\r\n", start);
      lines.push_back(
          text.substr(start, end == std::string::npos ? std::string::npos : end - start));
      if (end == std::string::npos) break;
      start = end + 2;
    }
    return lines;
  }
};

}  // namespace brelvion::testing
