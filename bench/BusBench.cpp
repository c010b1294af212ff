#include "BusBench.h"

#include <algorithm>
#include <chrono>
#include <memory>
#include <string>

#include "BenchEngine.h"
#include "bus/BusScan.h"
#include "core/RegisterCommands.h"
#include "port/i2cdev/I2cDevAdapter.h"
#include "simulator/SimulatedParallelPort.h"
#include "support/FakeI2cDevSystemCalls.h"

namespace brelvion::bench {

namespace {

struct DumpCalls {
  long ioctls = 0;
  long transfers = 0;
};

// Registers 0 to last of the device at 42h, read as Dump to File reads them, on i2c-3 of a
// fake kernel: the ioctls it took (the adapter's I2C_FUNCS at its opening included).
DumpCalls dumpOnAdapter(unsigned long functionality, bool repeatedStart, std::int16_t last) {
  testing::FakeI2cDevSystemCalls calls;
  calls.kernel.addAdapter(3, "bench adapter", functionality).devices[0x21];
  simulator::SimulatedParallelPort unused;
  EngineOnPort set(unused);
  set.core.useAdapter(std::make_unique<port::i2cdev::I2cDevAdapter>(3, calls));
  core::readByteRegisters(set.core.master(), core::readPointerThen(repeatedStart), 0x42, 0,
                          static_cast<std::size_t>(last) + 1);
  DumpCalls counted;
  counted.ioctls = static_cast<long>(std::count_if(
      calls.kernel.log.begin(), calls.kernel.log.end(),
      [](const std::string& line) { return line.rfind("ioctl", 0) == 0; }));
  counted.transfers = calls.kernel.transfers();
  return counted;
}

constexpr unsigned long kI2cAdapter = I2C_FUNC_I2C | I2C_FUNC_SMBUS_EMUL;
constexpr unsigned long kSmbusOnly = I2C_FUNC_SMBUS_QUICK | I2C_FUNC_SMBUS_BYTE |
                                     I2C_FUNC_SMBUS_BYTE_DATA | I2C_FUNC_SMBUS_I2C_BLOCK;

void adapterDumps(const Report& report) {
  const DumpCalls plain = dumpOnAdapter(kI2cAdapter, false, 255);
  report("256-register dump, i2c-dev adapter: ioctls", static_cast<double>(plain.ioctls), "", "<= 3",
         plain.ioctls <= 3);
  report("  of which transfers (pointer write, read)", static_cast<double>(plain.transfers), "",
         "2", plain.transfers == 2);
  const DumpCalls joined = dumpOnAdapter(kI2cAdapter, true, 255);
  report("  the same with a repeated START: ioctls", static_cast<double>(joined.ioctls), "", "<= 2",
         joined.ioctls <= 2);
  const DumpCalls largest = dumpOnAdapter(kI2cAdapter, false, 32767);
  report("32768-register dump, i2c-dev adapter: ioctls", static_cast<double>(largest.ioctls), "",
         "<= 3", largest.ioctls <= 3);
  const DumpCalls smbus = dumpOnAdapter(kSmbusOnly, false, 255);
  report("256-register dump, SMBus-only adapter: ioctls", static_cast<double>(smbus.ioctls), "",
         "<= 10", smbus.ioctls <= 10);
}

// 08h to 77h on the simulated bus, one camera sensor on it, each line step 5 us as on a
// real port in standard mode.
void scanBusTime(const Report& report) {
  simulator::SimulatedParallelPort port;
  EngineOnPort set(port);
  const std::int64_t start = port.nowNs();
  const auto wallStart = std::chrono::steady_clock::now();
  const bus::ScanOutcome outcome = bus::scanBus(set.engine);
  const double wallMs =
      std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - wallStart)
          .count();
  const double busMs = static_cast<double>(port.nowNs() - start) / 1e6;
  report("scan of 112 addresses, simulated bus: bus time", busMs, "ms", "< 60", busMs < 60);
  report("  found (the sensor at 42h)", static_cast<double>(outcome.answered.size()), "", "1",
         outcome.answered.size() == 1);
  report("  computer time for it", wallMs, "ms", "", true);
}

}  // namespace

void busFigures(const Report& report) {
  adapterDumps(report);
  scanBusTime(report);
}

}  // namespace brelvion::bench
