#include "simulator/SimulatedI2cBus.h"

#include <algorithm>
#include <stdexcept>

namespace brelvion::simulator {

namespace {

// Slaves change SDA only on clock edges and never in answer to their own change, so the
// wire settles in two rounds; more means a slave that keeps toggling in reply to itself.
constexpr int kMaxSettleRounds = 8;

}  // namespace

void SimulatedI2cBus::driveMaster(bool scl, bool sdaReleased) {
  masterScl_ = scl;
  masterSda_ = sdaReleased;
  settle();
}

void SimulatedI2cBus::holdSdaLow() {
  sdaHeldLow_ = true;
  settle();
}

void SimulatedI2cBus::advanceTo(std::int64_t nowNs) {
  now_ = std::max(now_, nowNs);
  if (scl_ != (masterScl_ && slavesReleaseScl())) settle();
}

bool SimulatedI2cBus::slavesReleaseSda() const {
  if (sdaHeldLow_) return false;
  for (const auto& slave : slaves_) {
    if (!slave->releasesSda()) return false;
  }
  return true;
}

void SimulatedI2cBus::attachSlave(std::unique_ptr<I2cSlave> slave) {
  if (!slave) throw std::invalid_argument("Cannot attach an empty slave to the bus");
  slaves_.push_back(std::move(slave));
  // Attaching is setting the bus up, not traffic: a slave that comes up holding SDA low
  // must not take its own pull for a START, and neither must the others.
  sda_ = masterSda_ && slavesReleaseSda();
  for (const auto& attached : slaves_) attached->syncLines(scl_, sda_);
}

void SimulatedI2cBus::settle() {
  for (int round = 0; round < kMaxSettleRounds; ++round) {
    const bool scl = masterScl_ && slavesReleaseScl();
    const bool sda = masterSda_ && slavesReleaseSda();
    if (scl == scl_ && sda == sda_) return;
    scl_ = scl;
    sda_ = sda;
    for (const auto& slave : slaves_) {
      slave->sense(scl_, sda_);
      if (const std::int64_t stretch = slave->takeStretch(); stretch > 0) {
        sclHeldUntil_ = std::max(sclHeldUntil_, now_ + stretch);
      }
    }
  }
  throw std::logic_error("The simulated SDA line does not settle: a slave keeps toggling it");
}

}  // namespace brelvion::simulator
