#pragma once

#include <filesystem>
#include <ostream>

#include "CliRequest.h"
#include "bus/BusMaster.h"
#include "port/gpio/GpioSystemCalls.h"
#include "port/hardware/PortSystemCalls.h"
#include "port/i2cdev/I2cDevSystemCalls.h"

namespace brelvion::apps::cli {

// `scan` on a bus already opened: the grid (or with --list one address a line) of the
// addresses that answered, 7-bit ones with sevenBit. Exit 0 when something answered, 1 when
// nothing did, 2 with "SDA is held low" on err when the lines' SDA stays low and nothing was
// probed.
int runScan(const ScanRequest& request, bool sevenBit, bus::BusMaster& master, std::ostream& out,
            std::ostream& err);

// The system calls `ports` asks each kind of port with.
struct PortsCalls {
  port::hardware::PortSystemCalls& parport;
  port::i2cdev::I2cDevSystemCalls& i2c;
  port::gpio::GpioSystemCalls& gpio;
};

// `ports`: the parallel ports under root, the I2C adapters with what each can do, the GPIO
// chips with their labels and numbers of lines, and what --backend auto picks for the
// request's port. Exit 0.
int runPorts(const apps::PortOptions& request, std::ostream& out,
             const std::filesystem::path& root, const PortsCalls& calls);

}  // namespace brelvion::apps::cli
