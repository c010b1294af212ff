#include "simulator/SimulatedParallelPort.h"

#include <algorithm>

#include "capture/BusCapture.h"
#include "port/LptRegisters.h"

namespace brelvion::simulator {

SimulatedParallelPort::SimulatedParallelPort(const SimulatedBusConfig& config)
    : cabledBase_(config.cabledBase) {
  checkSimulatedBusConfig(config);
  const Latches& cable = latches_[port::lptIndex(cabledBase_)];
  bus_.driveMaster(port::sclReleasedByControl(cable.control), port::sdaReleasedByData(cable.data));
  attachSensors(bus_, config);
}

std::uint8_t SimulatedParallelPort::inpb(std::uint16_t port) {
  access();
  return readRegister(port);
}

std::uint8_t SimulatedParallelPort::readRegister(std::uint16_t port) const {
  const auto address = port::classifyLptAddress(port);
  if (!address) return 0xFF;
  const Latches& latches = latches_[port::lptIndex(address->base)];
  switch (address->reg) {
    case port::LptRegister::Data:
      return latches.data;
    case port::LptRegister::Control:
      return latches.control;
    case port::LptRegister::Status:
      break;
  }
  const bool sdaHigh = address->base != cabledBase_ || bus_.sda();
  return static_cast<std::uint8_t>(kStatusIdleBits | (sdaHigh ? port::kStatusSdaBit : 0));
}

void SimulatedParallelPort::out(std::uint16_t port, std::uint8_t value) {
  const std::int64_t when = access();
  timer_.markWrite(when);
  const auto address = port::classifyLptAddress(port);
  if (!address || address->reg == port::LptRegister::Status) return;
  Latches& latches = latches_[port::lptIndex(address->base)];
  (address->reg == port::LptRegister::Data ? latches.data : latches.control) = value;
  if (address->base == cabledBase_) driveCable(when, latches);
}

void SimulatedParallelPort::driveCable(std::int64_t when, const Latches& latches) {
  const bool scl = port::sclReleasedByControl(latches.control);
  const bool sda = port::sdaReleasedByData(latches.data);
  if (scl == bus_.masterReleasesScl() && sda == bus_.masterReleasesSda()) return;
  if (capture_ != nullptr) {
    capture_->record(when, scl && bus_.slavesReleaseScl(), sda && bus_.slavesReleaseSda());
  }
  bus_.driveMaster(scl, sda);
  if (capture_ != nullptr) capture_->record(when + kSlaveResponseNs, bus_.scl(), bus_.sda());
}

void SimulatedParallelPort::waitQuanta(std::int64_t passes) {
  now_ = std::max(now_, timer_.deadlineAfter(passes));
  followBusTime();
}

void SimulatedParallelPort::passTime(std::int64_t ns) {
  now_ += std::max<std::int64_t>(ns, 0);
  followBusTime();
}

void SimulatedParallelPort::followBusTime() {
  const bool sclWas = bus_.scl();
  bus_.advanceTo(now_);
  if (capture_ != nullptr && bus_.scl() != sclWas) capture_->record(now_, bus_.scl(), bus_.sda());
}

void SimulatedParallelPort::setCapture(capture::BusCapture* capture) {
  capture_ = capture;
  if (capture_ != nullptr) capture_->record(now_, bus_.scl(), bus_.sda());
}

std::unique_ptr<SimulatedParallelPort> makeSimulatedPort(const SimulatedBusConfig& config) {
  return std::make_unique<SimulatedParallelPort>(config);
}

}  // namespace brelvion::simulator
