#include "platform/PortBackend.h"

#include "numconv/HexText.h"
#include "platform/hardware/DirectPort.h"
#include "platform/hardware/ParportDevices.h"
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

}  // namespace

OpenedPort openPortBackend(PortBackend backend, const sim::SimulatedBusConfig& simulation,
                           const std::filesystem::path& root) {
  if (backend == PortBackend::Auto) {
    if (anyUsableParport(listParportDevices(root))) {
      return {std::make_unique<PpdevPort>(PortSystemCalls::real(), root), PortBackend::Ppdev, {}};
    }
    return {sim::makeSimulatedPort(simulation), PortBackend::Simulated,
            "no parallel port found: using the simulated bus " + describeSimulation(simulation)};
  }
  switch (backend) {
    case PortBackend::Ppdev:
      return {std::make_unique<PpdevPort>(PortSystemCalls::real(), root), backend, {}};
    case PortBackend::IoPort:
      return {std::make_unique<DirectPort>(), backend, {}};
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
