#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <variant>
#include <vector>

#include "platform/PortBackend.h"
#include "platform/simulated/SimulatedBusConfig.h"

namespace brelvion::gui {

struct GuiRequest {
  platform::PortBackend backend = platform::PortBackend::Auto;
  // The port the start-up opens the bus on, and where the simulated cable is plugged in.
  std::int16_t portIndex = 0;
  // Write addresses of the simulated sensors; empty for a bus with no device.
  std::vector<std::uint8_t> simulatedDevices{0x42};
  std::optional<std::string> capturePath;
};

struct HelpRequest {};
struct VersionRequest {};
struct UsageError {
  std::string message;
};

using ParsedGuiArguments = std::variant<GuiRequest, HelpRequest, VersionRequest, UsageError>;

// args without the program name. --help and --version win wherever they stand, so they
// can be answered before the window system is started.
ParsedGuiArguments parseGuiArguments(const std::vector<std::string>& args);

std::string guiUsageText();

// The simulated bus the request describes.
platform::sim::SimulatedBusConfig simulationOf(const GuiRequest& request);

// What the status line says about the bus the program runs on, e.g. "Simulated bus:
// camera sensor at 42h".
std::string busNoticeText(platform::PortBackend backend,
                          const platform::sim::SimulatedBusConfig& simulation);

}  // namespace brelvion::gui
