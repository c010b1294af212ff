#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <vector>

#include "simulator/I2cSlave.h"

namespace brelvion::simulator {

// The two wires with their pull-ups. SDA is low while the master or any slave pulls it low;
// SCL is low while the master pulls it low or a slave stretches the clock. After every
// change the new levels go to every slave, again and again until no slave output changes
// any more, so a slave's acknowledge or data bit is on the wire before the master's next
// access. A stretch lasts in the bus's own time, which whoever drives the bus moves on
// (advanceTo); SCL rises once that time has passed, if the master has released it.
class SimulatedI2cBus {
 public:
  // Both lines start released and high.
  SimulatedI2cBus() = default;

  // Adds a slave to the bus and returns it, so its state can be looked at later. A slave
  // that holds SDA low from the start pulls the wire low at once, without any slave taking
  // that for a START.
  template <typename Slave>
  Slave& attach(std::unique_ptr<Slave> slave) {
    Slave& attached = *slave;
    attachSlave(std::move(slave));
    return attached;
  }

  // The master's outputs: true releases the line.
  void driveMaster(bool scl, bool sdaReleased);
  // The bus's time in nanoseconds; it never runs back. A stretch that has run out ends.
  void advanceTo(std::int64_t nowNs);
  std::int64_t nowNs() const { return now_; }

  // Holds SDA low from now on, as a short to ground would, whatever master and slaves do.
  void holdSdaLow();

  bool scl() const { return scl_; }
  bool sda() const { return sda_; }
  bool masterReleasesScl() const { return masterScl_; }
  bool masterReleasesSda() const { return masterSda_; }
  bool slavesReleaseScl() const { return now_ >= sclHeldUntil_; }
  // Whether everything on the bus but the master leaves SDA to the pull-up.
  bool slavesReleaseSda() const;

  std::size_t slaveCount() const { return slaves_.size(); }
  I2cSlave& slave(std::size_t index) { return *slaves_.at(index); }

 private:
  void attachSlave(std::unique_ptr<I2cSlave> slave);
  void settle();

  std::vector<std::unique_ptr<I2cSlave>> slaves_;
  bool masterScl_ = true;
  bool masterSda_ = true;
  bool sdaHeldLow_ = false;
  // The levels the slaves were last told.
  bool scl_ = true;
  bool sda_ = true;
  std::int64_t now_ = 0;
  std::int64_t sclHeldUntil_ = 0;
};

}  // namespace brelvion::simulator
