#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <variant>
#include <vector>

#include "PortOptions.h"
#include "core/PortBackend.h"
#include "simulator/SimulatedBusConfig.h"

namespace brelvion::apps::gui {

// The port options (the port is also the one the start-up opens the bus on), and what
// Qt's own options chose of the window system.
struct GuiRequest : apps::PortOptions {
  // The values of -platform and -display, when given.
  std::optional<std::string> qtPlatform;
  std::optional<std::string> qtDisplay;
};

struct HelpRequest {};
struct VersionRequest {};
struct UsageError {
  std::string message;
};

using ParsedGuiArguments = std::variant<GuiRequest, HelpRequest, VersionRequest, UsageError>;

// args without the program name, as main() gets them, before QApplication has taken its
// own options out: those (QtOptions.h) are let through. --help and --version win wherever
// they stand.
ParsedGuiArguments parseGuiArguments(const std::vector<std::string>& args);

std::string guiUsageText();

using apps::simulationOf;

// What the status line says about the bus the program runs on, e.g. "Simulated bus:
// camera sensor at 42h".
std::string busNoticeText(core::PortBackend backend,
                          const simulator::SimulatedBusConfig& simulation);

}  // namespace brelvion::apps::gui
