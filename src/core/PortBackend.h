#pragma once

#include <filesystem>
#include <memory>
#include <string>

#include "port/PortIo.h"
#include "port/hardware/PortSystemCalls.h"
#include "simulator/SimulatedBusConfig.h"

namespace brelvion::core {

// I2cDev names the i2c-dev adapters and Gpio the GPIO lines, which openPortBackend does not
// open: a program that runs on one builds its adapter (port/i2cdev) or its lines
// (port/gpio) itself.
enum class PortBackend { Auto, Simulated, Ppdev, IoPort, I2cDev, Gpio };

struct OpenedPort {
  std::unique_ptr<port::PortIo> port;
  PortBackend backend = PortBackend::Simulated;
  // What a user should be told about the choice, e.g. that Auto fell back to the simulation.
  std::string notice;
};

// Auto takes ppdev when the system has a parallel-port device node at one of the LPT
// addresses, else the simulated bus, and its notice says why (naming the ppdev module when
// the kernel has a port but no node for it).
// Hardware backends fail only at their first port access, with a numbered error. root is
// where /proc and /dev are looked up; calls must outlive the port.
OpenedPort openPortBackend(
    PortBackend backend, const simulator::SimulatedBusConfig& simulation,
    const std::filesystem::path& root = "/",
    port::hardware::PortSystemCalls& calls = port::hardware::PortSystemCalls::real());

const char* backendName(PortBackend backend);

}  // namespace brelvion::core
