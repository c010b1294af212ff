#pragma once

#include <chrono>
#include <cstdint>
#include <optional>
#include <string>

#include "port/BitLines.h"
#include "port/StepTimer.h"
#include "simulator/SimulatedBusConfig.h"
#include "simulator/SimulatedI2cBus.h"

namespace brelvion::simulator {

// The two lines straight on a simulated bus, as GPIO lines drive it: both read back as the
// wires have them, SCL included, so a slave that stretches the clock shows. Virtual time
// runs as on the simulated parallel port: every access takes kAccessNs and a line set takes
// effect at its start; a bitDelay pass waits for the next deadline of a StepTimer with the
// hardware quantum, so a line step lasts 5 us unless the quantum is changed.
class SimulatedLines : public port::BitLines {
 public:
  static constexpr std::int64_t kAccessNs = 1000;

  // The sensors of config on a bus of their own (its cable base plays no part). Throws
  // RuntimeError 5 for a configuration checkSimulatedBusConfig rejects.
  explicit SimulatedLines(const SimulatedBusConfig& config = {});

  void setSda(bool released) override;
  void setScl(bool released) override;
  bool sda() override;
  std::optional<bool> scl() override;
  void waitQuanta(std::int64_t passes) override;
  void setQuantum(std::chrono::nanoseconds quantum) override { timer_.setQuantum(quantum); }
  std::string name() const override { return "simulated lines"; }

  SimulatedI2cBus& bus() { return bus_; }
  const SimulatedI2cBus& bus() const { return bus_; }
  std::int64_t nowNs() const { return now_; }

 private:
  // Starts an access: the bus catches up with the time it takes effect, which is returned.
  std::int64_t access();

  SimulatedI2cBus bus_;
  std::int64_t now_ = 0;
  port::StepTimer timer_{port::kHardwareQuantum};
};

}  // namespace brelvion::simulator
