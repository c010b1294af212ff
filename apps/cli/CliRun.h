#pragma once

#include <filesystem>
#include <ostream>
#include <string>
#include <vector>

#include "base/Clock.h"
#include "port/PortIo.h"
#include "port/gpio/GpioSystemCalls.h"
#include "port/hardware/PortSystemCalls.h"
#include "port/i2cdev/I2cDevSystemCalls.h"

namespace brelvion::apps::cli {

inline constexpr int kExitAcknowledged = 0;
inline constexpr int kExitNotAcknowledged = 1;
inline constexpr int kExitUsageOrPortError = 2;

// What a test puts in place of the machine's: a port that keeps its devices' state from one
// run to the next (instead of the one the options choose), a clock that never waits, a
// kernel for the i2c-dev adapters, a kernel for the GPIO chips, and a stream that takes the
// capture --capture asks for instead of its file (whose name is checked all the same).
struct CliOverrides {
  port::PortIo* port = nullptr;
  base::Clock* clock = nullptr;
  port::i2cdev::I2cDevSystemCalls* i2cCalls = nullptr;
  port::gpio::GpioSystemCalls* gpioCalls = nullptr;
  std::ostream* capture = nullptr;
};

// The whole companion program: args without the program name. root is where /dev and
// /proc are looked for when choosing a backend and finding GPIO chips; calls are what a
// real port is driven with.
// out is flushed before a capture is written; checking that it got through is the caller's.
int runCli(const std::vector<std::string>& args, std::ostream& out, std::ostream& err,
           const std::filesystem::path& root = "/",
           port::hardware::PortSystemCalls& calls = port::hardware::PortSystemCalls::real(),
           const CliOverrides& overrides = {});

}  // namespace brelvion::apps::cli
