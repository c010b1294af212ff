#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "port/PortBackend.h"
#include "port/simulated/SimulatedBusConfig.h"

namespace brelvion::apps {

// The bus a program runs on, as its command line chose it.
struct PortOptions {
  port::PortBackend backend = port::PortBackend::Auto;
  // 0 = LPT1, 1 = LPT2, 2 = LPT3: the port the bus is opened on, and where the simulated
  // cable is plugged in.
  std::int16_t portIndex = 0;
  // Write addresses of the simulated camera sensors; empty for a bus with no device.
  std::vector<std::uint8_t> simulatedDevices{0x42};
  // Write addresses of the simulated 16-bit sensors (ADDR:sensor16).
  std::vector<std::uint8_t> simulatedSensor16s;
  std::optional<std::string> capturePath;
};

// True for --backend, --port, --sim-device and --capture, which all take a value.
bool isPortOption(std::string_view name);

// Applies one of those options; the error message when value is not one it takes.
std::optional<std::string> applyPortOption(std::string_view name, const std::string& value,
                                           PortOptions& options);

// The simulated bus the options describe.
port::simulated::SimulatedBusConfig simulationOf(const PortOptions& options);

// A one- or two-digit hex field, as the entry fields and the command lines take them.
std::optional<std::int16_t> hexField(const std::string& text);

}  // namespace brelvion::apps
