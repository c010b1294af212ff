#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <variant>
#include <vector>

#include "PortOptions.h"
#include "port/PortBackend.h"
#include "port/simulated/SimulatedBusConfig.h"

namespace brelvion::apps::gui {

// The port options alone: the port is also the one the start-up opens the bus on.
struct GuiRequest : apps::PortOptions {};

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

using apps::simulationOf;

// What the status line says about the bus the program runs on, e.g. "Simulated bus:
// camera sensor at 42h".
std::string busNoticeText(port::PortBackend backend,
                          const port::simulated::SimulatedBusConfig& simulation);

}  // namespace brelvion::apps::gui
