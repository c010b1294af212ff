#include "RegisterMapBench.h"

#include <algorithm>
#include <chrono>
#include <string>
#include <vector>

#include "BenchEngine.h"
#include "bus/RegisterAccess.h"
#include "simulator/SimulatedParallelPort.h"
#include "registers/MapActions.h"
#include "registers/ReadPlan.h"

namespace brelvion::bench {

namespace {

using Clock = std::chrono::steady_clock;
constexpr std::uint8_t kSensor = 0x20;

// Counts the transfers a master is given, passing them on.
class CountingMaster : public i2c::I2cMaster {
 public:
  explicit CountingMaster(i2c::I2cMaster& inner) : inner_(inner) {}
  i2c::TransferResult transfer(i2c::MessageSpan messages) override {
    ++transfers;
    return inner_.transfer(messages);
  }
  int transfers = 0;

 private:
  i2c::I2cMaster& inner_;
};

simulator::SimulatedBusConfig sensor16Bus() {
  simulator::SimulatedBusConfig config;
  config.sensorAddresses = {};
  config.sensor16Addresses = {kSensor};
  return config;
}

// runs runs of perRun one-byte registers, each run 1000h addresses after the last.
registers::RegisterMap mapOfRuns(int runs, int perRun) {
  registers::RegisterMap map;
  map.format.addressBytes = 2;
  for (int run = 0; run < runs; ++run) {
    for (int i = 0; i < perRun; ++i) {
      registers::Register reg;
      reg.name = "R" + std::to_string(run) + "_" + std::to_string(i);
      reg.address = static_cast<std::uint32_t>(run * 0x1000 + i);
      map.registers.push_back(reg);
    }
  }
  return map;
}

struct ReadFigures {
  int transfers = 0;
  double busMs = 0;
};

ReadFigures readOnSimulatedBus(const registers::RegisterMap& map,
                               const std::vector<registers::ReadRun>& runs) {
  simulator::SimulatedParallelPort port(sensor16Bus());
  EngineOnPort set(port);
  CountingMaster master(set.engine);
  registers::RegisterTable table(map);
  const std::int64_t start = port.nowNs();
  registers::readRuns(master, kSensor, table, runs);
  return {master.transfers, static_cast<double>(port.nowNs() - start) / 1e6};
}

void runsAgainstSingleReads(const Report& report) {
  const registers::RegisterMap map = mapOfRuns(10, 100);
  const ReadFigures planned =
      readOnSimulatedBus(map, registers::planReadAll(map, registers::kI2cDevMessageLimit));
  std::vector<registers::ReadRun> single;
  for (std::size_t i = 0; i < map.registers.size(); ++i) {
    single.push_back({map.registers[i].address, 1, i, 1});
  }
  const ReadFigures one = readOnSimulatedBus(map, single);
  report("1,000-register map in 10 runs: transactions", planned.transfers, "", "10",
         planned.transfers == 10);
  report("  its bus time (simulated port, 5 us steps)", planned.busMs, "ms", "", true);
  report("1,000 single-register reads: bus time", one.busMs, "ms", "", true);
  const double ratio = one.busMs / planned.busMs;
  report("  single reads / planned runs, bus time", ratio, "x", ">= 5", ratio >= 5);
}

void tableFill(const Report& report) {
  const registers::RegisterMap map =
      registers::plainRange(kSensor, {2, 1, i2c::ByteOrder::BigEndian}, 0, 4999);
  const auto runs = registers::planReadAll(map, registers::kI2cDevMessageLimit);
  const std::vector<std::uint8_t> bytes(5000, 0x5A);
  registers::RegisterTable table(map);
  double best = 1e300;
  for (int round = 0; round < 20; ++round) {
    const auto start = Clock::now();
    std::size_t at = 0;
    for (const registers::ReadRun& run : runs) {
      table.applyRead(run, {bytes.begin() + static_cast<long>(at),
                            bytes.begin() + static_cast<long>(at + run.byteCount)},
                      true);
      at += run.byteCount;
    }
    best = std::min(best, std::chrono::duration<double, std::milli>(Clock::now() - start).count());
  }
  report("5,000 read values into the table (no Qt, best of 20)", best, "ms", "", true);
}

}  // namespace

void registerMapFigures(const Report& report) {
  runsAgainstSingleReads(report);
  tableFill(report);
}

}  // namespace brelvion::bench
