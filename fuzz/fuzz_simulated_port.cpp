// The simulated parallel port and its I2C slaves under random port traffic. After every
// access: the latches read back, the status register shows the SDA wire, SDA is the
// wired AND of master and slaves, a slave changes its registers only inside a transfer
// addressed to it, and the capture ends on the levels the wires have. Between the random
// traffic, a bus clear must always free the bus, and a clean register write and read
// must then work as on a fresh device.

#include <algorithm>
#include <array>
#include <cstdint>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

#include "FuzzSupport.h"
#include "base/RuntimeError.h"
#include "capture/BusCapture.h"
#include "port/LptRegisters.h"
#include "capture/VcdReader.h"
#include "simulator/CameraSensor.h"
#include "simulator/SimulatedParallelPort.h"

namespace {

using brelvion::fuzz::FuzzInput;
using namespace brelvion::port;
using brelvion::capture::BusCapture;
namespace simulator = brelvion::simulator;
using simulator::CameraSensor;
using simulator::SimulatedParallelPort;

constexpr int kMaxSteps = 4096;
constexpr int kBusClearPulses = 16;

class PortCheck {
 public:
  PortCheck(const simulator::SimulatedBusConfig& config, bool capture)
      : config_(config), port_(config) {
    for (std::size_t i = 0; i < port_.bus().slaveCount(); ++i) {
      sensors_.push_back(&dynamic_cast<CameraSensor&>(port_.bus().slave(i)));
    }
    if (capture) port_.setCapture(&capture_);
    capturing_ = capture;
    checkState("power-up");
  }

  void step(FuzzInput& input);
  void finish();

 private:
  struct Snapshot {
    std::vector<CameraSensor::Registers> registers;
    std::vector<bool> engaged;
  };

  std::uint16_t cabled() const { return port_.cabledBase(); }
  std::uint16_t chooseAddress(FuzzInput& input);
  void write(std::uint16_t address, std::uint8_t value);
  std::uint8_t read(std::uint16_t address);
  std::uint8_t expectedRead(std::uint16_t address) const;
  // Control 0Ch is the power-up value, both lines released; bit 3 is SCL.
  void setScl(bool high) { write(cabled() + 2, high ? 0x0C : 0x04); }
  void setSda(bool high) { write(cabled(), high ? 0x00 : kDataSdaLowBit); }
  bool sdaWire() { return sdaHighInStatus(read(cabled() + 1)); }
  void sendBits(std::uint8_t value, int count);
  bool sendByte(std::uint8_t value);
  std::uint8_t receiveByte(bool acknowledge);
  void busClear();
  void cleanTransfer(FuzzInput& input);

  Snapshot snapshot() const;
  void checkState(const std::string& after);
  void checkChanges(const Snapshot& before, const std::string& after);
  struct Latches {
    std::uint8_t data = SimulatedParallelPort::kDataAtPowerUp;
    std::uint8_t control = SimulatedParallelPort::kControlAtPowerUp;
  };
  Latches& latch(std::uint16_t base) { return latches_[lptIndex(base)]; }
  const Latches& latch(std::uint16_t base) const { return latches_[lptIndex(base)]; }

  simulator::SimulatedBusConfig config_;
  SimulatedParallelPort port_;
  std::vector<CameraSensor*> sensors_;
  std::array<Latches, kLptBases.size()> latches_{};
  BusCapture capture_;
  bool capturing_ = false;
};

std::uint16_t PortCheck::chooseAddress(FuzzInput& input) {
  const std::uint32_t choice = input.below(10);
  if (choice == 9) return input.word();
  return static_cast<std::uint16_t>(kLptBases[choice / 3] + choice % 3);
}

void PortCheck::write(std::uint16_t address, std::uint8_t value) {
  const std::int64_t was = port_.nowNs();
  port_.out(address, value);
  FUZZ_CHECK(port_.nowNs() == was + SimulatedParallelPort::kAccessNs, "out took another time");
  if (const auto reg = classifyLptAddress(address)) {
    if (reg->reg == LptRegister::Data) latch(reg->base).data = value;
    if (reg->reg == LptRegister::Control) latch(reg->base).control = value;
  }
}

std::uint8_t PortCheck::expectedRead(std::uint16_t address) const {
  const auto reg = classifyLptAddress(address);
  if (!reg) return 0xFF;
  if (reg->reg == LptRegister::Data) return latch(reg->base).data;
  if (reg->reg == LptRegister::Control) return latch(reg->base).control;
  const bool sdaHigh = reg->base != cabled() || port_.bus().sda();
  return SimulatedParallelPort::kStatusIdleBits | (sdaHigh ? kStatusSdaBit : 0);
}

std::uint8_t PortCheck::read(std::uint16_t address) {
  const std::uint8_t expected = expectedRead(address);
  const std::int64_t was = port_.nowNs();
  const std::uint8_t value = port_.inpb(address);
  FUZZ_CHECK(port_.nowNs() == was + SimulatedParallelPort::kAccessNs, "inpb took another time");
  FUZZ_CHECK(value == expected, "port " + std::to_string(address) + " read " +
                                    std::to_string(value) + ", not " + std::to_string(expected));
  return value;
}

void PortCheck::sendBits(std::uint8_t value, int count) {
  for (int bit = 7; bit > 7 - count; --bit) {
    setSda(((value >> bit) & 1) != 0);
    setScl(true);
    setScl(false);
  }
}

// SCL is low on entry and on return; true when the byte was acknowledged.
bool PortCheck::sendByte(std::uint8_t value) {
  sendBits(value, 8);
  setSda(true);
  setScl(true);
  const bool acknowledged = !sdaWire();
  setScl(false);
  return acknowledged;
}

std::uint8_t PortCheck::receiveByte(bool acknowledge) {
  setSda(true);
  std::uint8_t value = 0;
  for (int bit = 0; bit < 8; ++bit) {
    setScl(true);
    value = static_cast<std::uint8_t>((value << 1) | (sdaWire() ? 1 : 0));
    setScl(false);
  }
  setSda(!acknowledge);
  setScl(true);
  setScl(false);
  return value;
}

// Clocks with SDA released until the slaves let it go high, then START and STOP: whatever
// the traffic left behind, every slave must be idle afterwards.
void PortCheck::busClear() {
  setSda(true);
  setScl(true);
  for (int pulse = 0; pulse < kBusClearPulses && !sdaWire(); ++pulse) {
    setScl(false);
    setScl(true);
  }
  FUZZ_CHECK(port_.bus().sda(), "a bus clear did not free SDA");
  setSda(false);
  setSda(true);
  for (const CameraSensor* sensor : sensors_) {
    FUZZ_CHECK(!sensor->inTransfer() && sensor->releasesSda(), "a slave stayed busy");
  }
}

// A clean write of one register and its read back, after a bus clear.
void PortCheck::cleanTransfer(FuzzInput& input) {
  const std::uint8_t index = input.byte();
  const std::uint8_t value = input.byte();
  const std::uint8_t address = sensors_.empty()
                                   ? input.byte() & 0xFE
                                   : config_.sensorAddresses[input.below(sensors_.size())];
  busClear();
  const auto found =
      std::find(config_.sensorAddresses.begin(), config_.sensorAddresses.end(), address);
  CameraSensor* sensor =
      found == config_.sensorAddresses.end()
          ? nullptr
          : sensors_[static_cast<std::size_t>(found - config_.sensorAddresses.begin())];
  setSda(false);
  setScl(false);
  const bool acks = sendByte(address) && sendByte(index) && sendByte(value);
  setSda(false);
  setScl(true);
  setSda(true);
  // A sensor with an acknowledge limit answers for a while, then never.
  if (config_.stopAckingAfterBytes) return;
  FUZZ_CHECK(acks == (sensor != nullptr), "write acknowledged: " + std::to_string(acks));
  if (sensor == nullptr) return;

  std::uint8_t expected = value;
  if (CameraSensor::isReadOnly(index)) expected = CameraSensor::defaultValue(index);
  if (index == CameraSensor::kRegSystemControl && (value & CameraSensor::kSoftResetBit) != 0) {
    expected = CameraSensor::kSystemControlDefault;
  }
  FUZZ_CHECK(sensor->registerValue(index) == expected, "register " + std::to_string(index));

  setSda(false);
  setScl(false);
  FUZZ_CHECK(sendByte(address) && sendByte(index), "pointer write not acknowledged");
  setSda(false);
  setScl(true);
  setSda(true);
  setSda(false);
  setScl(false);
  FUZZ_CHECK(sendByte(address | 1), "read address not acknowledged");
  const std::uint8_t first = receiveByte(true);
  const std::uint8_t second = receiveByte(false);
  setSda(false);
  setScl(true);
  setSda(true);
  FUZZ_CHECK(first == expected, "read back " + std::to_string(first) + " from register " +
                                    std::to_string(index) + ", wrote " + std::to_string(value));
  const auto next = static_cast<std::uint8_t>(index + 1);
  FUZZ_CHECK(second == sensor->registerValue(next), "second byte of the read");
}

PortCheck::Snapshot PortCheck::snapshot() const {
  Snapshot shot;
  for (const CameraSensor* sensor : sensors_) {
    CameraSensor::Registers registers{};
    for (int i = 0; i < 256; ++i)
      registers[i] = sensor->registerValue(static_cast<std::uint8_t>(i));
    shot.registers.push_back(registers);
    shot.engaged.push_back(sensor->inTransfer());
  }
  return shot;
}

void PortCheck::checkState(const std::string& after) {
  const auto& bus = port_.bus();
  const Latches& cable = latch(cabled());
  FUZZ_CHECK(bus.scl() == sclReleasedByControl(cable.control), after + ": SCL is not the master's");
  FUZZ_CHECK(bus.masterReleasesSda() == sdaReleasedByData(cable.data), after + ": master SDA");
  FUZZ_CHECK(bus.sda() == (bus.masterReleasesSda() && bus.slavesReleaseSda()),
             after + ": SDA is not the wired AND of its drivers");
  for (const CameraSensor* sensor : sensors_) {
    FUZZ_CHECK(sensor->inTransfer() || sensor->releasesSda(), after + ": an idle slave pulls SDA");
    for (int index = CameraSensor::kRegChipIdHigh; index <= CameraSensor::kRegVendorCode; ++index) {
      const auto reg = static_cast<std::uint8_t>(index);
      FUZZ_CHECK(sensor->registerValue(reg) == CameraSensor::defaultValue(reg),
                 after + ": a read-only register changed");
    }
  }
  if (capturing_) {
    FUZZ_CHECK(!capture_.samples().empty(), after + ": empty capture");
    const auto& last = capture_.samples().back();
    FUZZ_CHECK(last.scl == bus.scl() && last.sda == bus.sda(), after + ": capture lags the wires");
  }
}

void PortCheck::checkChanges(const Snapshot& before, const std::string& after) {
  const Snapshot now = snapshot();
  for (std::size_t s = 0; s < sensors_.size(); ++s) {
    int changed = 0;
    bool allDefault = true;
    for (int i = 0; i < 256; ++i) {
      changed += before.registers[s][i] != now.registers[s][i];
      allDefault = allDefault &&
                   now.registers[s][i] == CameraSensor::defaultValue(static_cast<std::uint8_t>(i));
    }
    if (changed == 0) continue;
    FUZZ_CHECK(before.engaged[s], after + ": registers changed outside a transfer");
    FUZZ_CHECK(changed == 1 || allDefault,
               after + ": " + std::to_string(changed) + " registers changed at once");
  }
}

void PortCheck::step(FuzzInput& input) {
  const Snapshot before = snapshot();
  std::string what;
  switch (input.below(8)) {
    case 0:
    case 1: {
      const std::uint16_t address = chooseAddress(input);
      write(address, input.byte());
      what = "out " + std::to_string(address);
      break;
    }
    case 2:
      read(chooseAddress(input));
      what = "inpb";
      break;
    case 3: {
      const std::int64_t was = port_.nowNs();
      port_.waitQuanta(input.below(4));
      FUZZ_CHECK(port_.nowNs() >= was, "time ran backwards");
      what = "waitQuanta";
      break;
    }
    case 4:
      setScl(input.flag());
      what = "SCL";
      break;
    case 5:
      setSda(input.flag());
      what = "SDA";
      break;
    case 6: {
      const std::uint8_t value = input.byte();
      sendBits(value, 1 + static_cast<int>(input.below(8)));
      what = "bits";
      break;
    }
    default:
      cleanTransfer(input);
      what = "clean transfer";
      break;
  }
  checkState(what);
  if (what != "clean transfer") checkChanges(before, what);
}

void PortCheck::finish() {
  if (!capturing_) return;
  const auto& samples = capture_.samples();
  for (std::size_t i = 1; i < samples.size(); ++i) {
    FUZZ_CHECK(samples[i].timeNs > samples[i - 1].timeNs, "capture times not increasing");
    FUZZ_CHECK(samples[i].scl != samples[i - 1].scl || samples[i].sda != samples[i - 1].sda,
               "a capture sample without a change");
  }
  std::ostringstream vcd;
  capture_.writeVcd(vcd);
  brelvion::capture::VcdError error;
  const auto back = brelvion::capture::readVcdCapture(vcd.str(), {}, &error);
  FUZZ_CHECK(back && back->samples.size() == samples.size(),
             "capture read back: line " + std::to_string(error.line) + ": " + error.message);
}

simulator::SimulatedBusConfig makeConfig(FuzzInput& input) {
  simulator::SimulatedBusConfig config;
  config.sensorAddresses.clear();
  const int n = static_cast<int>(input.below(4));
  for (int i = 0; i < n; ++i) {
    const auto address = static_cast<std::uint8_t>(input.byte() & 0xFE);
    if (std::find(config.sensorAddresses.begin(), config.sensorAddresses.end(), address) ==
        config.sensorAddresses.end()) {
      config.sensorAddresses.push_back(address);
    }
  }
  config.cabledBase = kLptBases[input.below(3)];
  if (input.below(8) == 0) config.stopAckingAfterBytes = static_cast<int>(input.below(32));
  config.stuckMidByte = !config.sensorAddresses.empty() && input.below(4) == 0;
  return config;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  FuzzInput input(data, size);
  const simulator::SimulatedBusConfig config = makeConfig(input);
  const bool capture = input.flag();
  PortCheck check(config, capture);
  for (int step = 0; step < kMaxSteps && !input.empty(); ++step) check.step(input);
  check.finish();
  return 0;
}
