#include "port/PortBackend.h"

#include "numconv/HexText.h"
#include "port/hardware/DirectPort.h"
#include "port/hardware/ParportDevices.h"
#include "port/hardware/PortAddressText.h"
#include "port/hardware/PpdevPort.h"
#include "port/simulated/SimulatedParallelPort.h"

namespace brelvion::port {

namespace {

std::string describeSimulation(const simulated::SimulatedBusConfig& simulation) {
  if (simulation.sensorAddresses.empty()) return "with no device on it";
  std::string text = simulation.sensorAddresses.size() == 1 ? "with a camera sensor at"
                                                            : "with camera sensors at";
  for (std::size_t i = 0; i < simulation.sensorAddresses.size(); ++i) {
    text += (i == 0 ? " " : ", ");
    text += numconv::UpperHex(simulation.sensorAddresses[i], 2);
  }
  return text;
}

// Why auto did not find a port to use, with what would let it find one.
std::string fallbackReason(const std::vector<hardware::ParportDevice>& devices) {
  if (const hardware::ParportDevice* port = lptPortWithoutNode(devices)) {
    return "the parallel port " + port->name + " at " +
           hardware::portAddressText(*port->base) + " has no " + port->devicePath +
           ": the ppdev module is not loaded (sudo modprobe ppdev)";
  }
  return "no parallel port found";
}

}  // namespace

OpenedPort openPortBackend(PortBackend backend, const simulated::SimulatedBusConfig& simulation,
                           const std::filesystem::path& root,
                           hardware::PortSystemCalls& calls) {
  if (backend == PortBackend::Auto) {
    const std::vector<hardware::ParportDevice> devices =
        hardware::listParportDevices(root);
    if (hardware::anyUsableParport(devices)) {
      return {std::make_unique<hardware::PpdevPort>(calls, root), PortBackend::Ppdev, {}};
    }
    return {
        simulated::makeSimulatedPort(simulation), PortBackend::Simulated,
        fallbackReason(devices) + "; using the simulated bus " + describeSimulation(simulation)};
  }
  switch (backend) {
    case PortBackend::Ppdev:
      return {std::make_unique<hardware::PpdevPort>(calls, root), backend, {}};
    case PortBackend::IoPort:
      return {std::make_unique<hardware::DirectPort>(calls), backend, {}};
    default:
      return {simulated::makeSimulatedPort(simulation), PortBackend::Simulated, {}};
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

}  // namespace brelvion::port
