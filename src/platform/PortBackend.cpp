#include "platform/PortBackend.h"

#include "numconv/HexText.h"
#include "platform/hardware/DirectPort.h"
#include "platform/hardware/ParportDevices.h"
#include "platform/hardware/PortAddressText.h"
#include "platform/hardware/PpdevPort.h"
#include "platform/simulated/SimulatedParallelPort.h"

namespace brelvion::platform {

namespace {

std::string describeSimulation(const sim::SimulatedBusConfig& simulation) {
  if (simulation.sensorAddresses.empty()) return "with no device on it";
  std::string text = "with a camera sensor at";
  for (std::size_t i = 0; i < simulation.sensorAddresses.size(); ++i) {
    text += (i == 0 ? " " : ", ");
    text += numconv::UpperHex(simulation.sensorAddresses[i], 2);
  }
  return text;
}

// Why auto did not find a port to use, with what would let it find one.
std::string fallbackReason(const std::vector<ParportDevice>& devices) {
  if (const ParportDevice* port = lptPortWithoutNode(devices)) {
    return "the parallel port " + port->name + " at " + portAddressText(*port->base) + " has no " +
           port->devicePath + ": the ppdev module is not loaded (sudo modprobe ppdev)";
  }
  return "no parallel port found";
}

}  // namespace

OpenedPort openPortBackend(PortBackend backend, const sim::SimulatedBusConfig& simulation,
                           const std::filesystem::path& root, PortSystemCalls& calls) {
  if (backend == PortBackend::Auto) {
    const std::vector<ParportDevice> devices = listParportDevices(root);
    if (anyUsableParport(devices)) {
      return {std::make_unique<PpdevPort>(calls, root), PortBackend::Ppdev, {}};
    }
    return {
        sim::makeSimulatedPort(simulation), PortBackend::Simulated,
        fallbackReason(devices) + "; using the simulated bus " + describeSimulation(simulation)};
  }
  switch (backend) {
    case PortBackend::Ppdev:
      return {std::make_unique<PpdevPort>(calls, root), backend, {}};
    case PortBackend::IoPort:
      return {std::make_unique<DirectPort>(calls), backend, {}};
    default:
      return {sim::makeSimulatedPort(simulation), PortBackend::Simulated, {}};
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
  }
  return "?";
}

}  // namespace brelvion::platform
