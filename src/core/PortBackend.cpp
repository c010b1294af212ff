#include "core/PortBackend.h"

#include "numconv/HexText.h"
#include "port/hardware/DirectPort.h"
#include "port/hardware/ParportDevices.h"
#include "port/hardware/PortAddressText.h"
#include "port/hardware/PpdevPort.h"
#include "simulator/SimulatedParallelPort.h"

namespace brelvion::core {

namespace {

// "a camera sensor at 42", "16-bit sensors at 20, 22".
std::string describeSensors(const std::vector<std::uint8_t>& addresses, const char* one,
                            const char* several) {
  std::string text = addresses.size() == 1 ? one : several;
  for (std::size_t i = 0; i < addresses.size(); ++i) {
    text += (i == 0 ? " " : ", ");
    text += numconv::upperHex(addresses[i], 2);
  }
  return text;
}

std::string describeSimulation(const simulator::SimulatedBusConfig& simulation) {
  const bool cameras = !simulation.sensorAddresses.empty();
  const bool wide = !simulation.sensor16Addresses.empty();
  if (!cameras && !wide) return "with no device on it";
  std::string text = "with ";
  if (cameras) {
    text += describeSensors(simulation.sensorAddresses, "a camera sensor at", "camera sensors at");
  }
  if (cameras && wide) text += " and ";
  if (wide) {
    text += describeSensors(simulation.sensor16Addresses, "a 16-bit sensor at", "16-bit sensors at");
  }
  return text;
}

// Why auto did not find a port to use, with what would let it find one.
std::string fallbackReason(const std::vector<port::hardware::ParportDevice>& devices) {
  if (const port::hardware::ParportDevice* port = lptPortWithoutNode(devices)) {
    return "the parallel port " + port->name + " at " +
           port::hardware::portAddressText(*port->base) + " has no " + port->devicePath +
           ": the ppdev module is not loaded (sudo modprobe ppdev)";
  }
  return "no parallel port found";
}

}  // namespace

OpenedPort openPortBackend(PortBackend backend, const simulator::SimulatedBusConfig& simulation,
                           const std::filesystem::path& root,
                           port::hardware::PortSystemCalls& calls) {
  if (backend == PortBackend::Auto) {
    const std::vector<port::hardware::ParportDevice> devices =
        port::hardware::listParportDevices(root);
    if (port::hardware::anyUsableParport(devices)) {
      return {std::make_unique<port::hardware::PpdevPort>(calls, root), PortBackend::Ppdev, {}};
    }
    return {
        simulator::makeSimulatedPort(simulation), PortBackend::Simulated,
        fallbackReason(devices) + "; using the simulated bus " + describeSimulation(simulation)};
  }
  switch (backend) {
    case PortBackend::Ppdev:
      return {std::make_unique<port::hardware::PpdevPort>(calls, root), backend, {}};
    case PortBackend::IoPort:
      return {std::make_unique<port::hardware::DirectPort>(calls), backend, {}};
    default:
      return {simulator::makeSimulatedPort(simulation), PortBackend::Simulated, {}};
  }
}

const char* backendName(PortBackend backend) {
  switch (backend) {
    case PortBackend::Auto:
      return "auto";
    case PortBackend::Simulated:
      return "sim";
    case PortBackend::Ppdev:
      return "ppdev";
    case PortBackend::IoPort:
      return "ioport";
    case PortBackend::I2cDev:
      return "i2cdev";
    case PortBackend::Gpio:
      return "gpio";
  }
  return "?";
}

}  // namespace brelvion::core
