#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "core/PortBackend.h"
#include "port/PortChoice.h"
#include "simulator/SimulatedBusConfig.h"

namespace brelvion::apps {

// The bus a program runs on, as its command line chose it.
struct PortOptions {
  core::PortBackend backend = core::PortBackend::Auto;
  // The port the bus is opened on: a parallel port (also where the simulated cable is
  // plugged in), or an i2c-dev adapter.
  port::PortChoice port;
  // Write addresses of the simulated camera sensors; empty for a bus with no device.
  std::vector<std::uint8_t> simulatedDevices{0x42};
  // Write addresses of the simulated 16-bit sensors (ADDR:sensor16).
  std::vector<std::uint8_t> simulatedSensor16s;
  std::optional<std::string> capturePath;

  // The port is an adapter, which the engine hands whole transfers rather than line steps.
  bool onAdapter() const { return !port.bitBanged(); }
  // The port is a pair of GPIO lines, which the engine bit-bangs without a parallel port.
  bool onGpioLines() const { return port.gpioLines() != nullptr; }
};

// True for --backend, --port, --sim-device and --capture, which all take a value.
bool isPortOption(std::string_view name);

// Applies one of those options; the error message when value is not one it takes.
std::optional<std::string> applyPortOption(std::string_view name, const std::string& value,
                                           PortOptions& options);

// The error message for options that do not go together, once all are applied: a backend
// of one kind with a port of another, a capture of an adapter's lines.
std::optional<std::string> portOptionsProblem(const PortOptions& options);

// The port's name for a message: GPIO lines, whose chip and line names are the user's
// text, in quotes with control characters escaped; the others as they are.
std::string shownPortName(const port::PortChoice& choice);

// The simulated bus the options describe; for an adapter or GPIO lines, the cable is on
// LPT1.
simulator::SimulatedBusConfig simulationOf(const PortOptions& options);

// The parallel port's index the options choose: the port's, or LPT1 for an adapter or GPIO
// lines.
std::int16_t lptIndexOf(const PortOptions& options);

// A one- or two-digit hex field, as the entry fields and the command lines take them.
std::optional<std::int16_t> hexField(const std::string& text);

}  // namespace brelvion::apps
