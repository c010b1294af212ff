#include "PortOptions.h"

#include <map>

#include "ShownArgument.h"
#include "numconv/HexByteValue.h"
#include "numconv/HexText.h"
#include "i2c/DeviceAddress.h"
#include "port/LptRegisters.h"

namespace brelvion::apps {

namespace {

using Error = std::optional<std::string>;

Error applyBackend(const std::string& value, PortOptions& options) {
  static const std::map<std::string, core::PortBackend> backends{
      {"auto", core::PortBackend::Auto},
      {"sim", core::PortBackend::Simulated},
      {"ppdev", core::PortBackend::Ppdev},
      {"ioport", core::PortBackend::IoPort},
      {"i2cdev", core::PortBackend::I2cDev},
      {"gpio", core::PortBackend::Gpio}};
  const auto found = backends.find(value);
  if (found == backends.end()) {
    return "--backend must be auto, sim, ppdev, ioport, i2cdev or gpio, not " +
           shownArgument(value);
  }
  options.backend = found->second;
  return std::nullopt;
}

Error applyPort(const std::string& value, PortOptions& options) {
  const auto choice = port::PortChoice::parse(value);
  if (!choice) {
    if (auto problem = port::PortChoice::problemWith(value)) {
      return "--port " + shownArgument(value) + ": " + *problem;
    }
    return "--port must be " + port::PortChoice::acceptedForms() + ", not " + shownArgument(value);
  }
  options.port = *choice;
  return std::nullopt;
}

// "42", "42:sensor8" (the camera sensor) or "20:sensor16", into the list of its kind.
Error applySimDevice(const std::string& item, PortOptions& options) {
  const std::size_t colon = item.find(':');
  const auto address =
      i2c::DeviceAddress::parse(item.substr(0, colon), i2c::AddressForm::EightBit);
  if (!address) {
    return "--sim-device wants write addresses in hex (one or two digits) or 'none', not " +
           shownArgument(item.substr(0, colon));
  }
  const std::string kind = colon == std::string::npos ? "sensor8" : item.substr(colon + 1);
  if (kind == "sensor8") {
    options.simulatedDevices.push_back(address->byte());
  } else if (kind == "sensor16") {
    options.simulatedSensor16s.push_back(address->byte());
  } else {
    return "--sim-device: a device kind is sensor8 or sensor16, not " + shownArgument(kind);
  }
  return std::nullopt;
}

Error applySimDevices(const std::string& text, PortOptions& options) {
  options.simulatedDevices.clear();
  options.simulatedSensor16s.clear();
  if (text == "none") return std::nullopt;
  std::size_t start = 0;
  while (start <= text.size()) {
    const std::size_t comma = text.find(',', start);
    const std::string item = text.substr(start, comma == std::string::npos ? comma : comma - start);
    if (auto error = applySimDevice(item, options)) return error;
    if (comma == std::string::npos) break;
    start = comma + 1;
  }
  return std::nullopt;
}

Error applyCapture(const std::string& value, PortOptions& options) {
  if (value.empty()) return "--capture wants a file name";
  options.capturePath = value;
  return std::nullopt;
}

}  // namespace

bool isPortOption(std::string_view name) {
  return name == "--backend" || name == "--port" || name == "--sim-device" || name == "--capture";
}

std::optional<std::string> applyPortOption(std::string_view name, const std::string& value,
                                           PortOptions& options) {
  if (name == "--backend") return applyBackend(value, options);
  if (name == "--port") return applyPort(value, options);
  if (name == "--sim-device") return applySimDevices(value, options);
  if (name == "--capture") return applyCapture(value, options);
  return "unknown option " + shownArgument(std::string(name));
}

std::optional<std::string> portOptionsProblem(const PortOptions& options) {
  const std::string port = shownPortName(options.port);
  const auto backend = options.backend;
  if (options.onAdapter()) {
    if (backend != core::PortBackend::Auto && backend != core::PortBackend::I2cDev) {
      return "--port " + port + " is an i2c-dev adapter: use --backend i2cdev or auto, not " +
             core::backendName(backend);
    }
    if (options.capturePath) {
      return "--capture records the SCL and SDA lines the tool drives itself; " + port +
             " is an adapter that drives its own";
    }
  } else if (options.onGpioLines()) {
    // The parallel-port backends have no GPIO lines to offer, nor the GPIO backend a port.
    if (backend != core::PortBackend::Auto && backend != core::PortBackend::Gpio) {
      return "--port " + port + " is a pair of GPIO lines: use --backend gpio or auto, not " +
             core::backendName(backend);
    }
  } else if (backend == core::PortBackend::I2cDev) {
    return "--backend i2cdev wants an adapter: --port i2c-N or /dev/i2c-N, not " + port;
  } else if (backend == core::PortBackend::Gpio) {
    return "--backend gpio wants GPIO lines: --port gpio:CHIP:SCL,SDA, not " + port;
  }
  return std::nullopt;
}

std::string shownPortName(const port::PortChoice& choice) {
  return choice.gpioLines() != nullptr ? shownArgument(choice.name()) : choice.name();
}

std::int16_t lptIndexOf(const PortOptions& options) {
  const auto* lpt = options.port.lptPort();
  return lpt != nullptr ? lpt->index : 0;
}

simulator::SimulatedBusConfig simulationOf(const PortOptions& options) {
  simulator::SimulatedBusConfig simulation;
  simulation.sensorAddresses = options.simulatedDevices;
  simulation.sensor16Addresses = options.simulatedSensor16s;
  simulation.cabledBase = port::kLptBases[static_cast<std::size_t>(lptIndexOf(options))];
  return simulation;
}

std::optional<std::int16_t> hexField(const std::string& text) {
  if (text.empty() || text.size() > 2) return std::nullopt;
  for (char ch : text) {
    if (!numconv::hexDigitValue(ch)) return std::nullopt;
  }
  return numconv::hexByteValue(text);
}

}  // namespace brelvion::apps
