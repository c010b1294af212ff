#include "DisplayCheck.h"

#include <cstdlib>

namespace brelvion::apps::gui {

namespace {

std::string environmentValue(const char* name) {
  const char* value = std::getenv(name);
  return value != nullptr ? value : "";
}

bool given(const std::optional<std::string>& option) { return option && !option->empty(); }

}  // namespace

DisplayEnvironment currentDisplayEnvironment() {
  return {environmentValue("QT_QPA_PLATFORM"), environmentValue("DISPLAY"),
          environmentValue("WAYLAND_DISPLAY")};
}

bool displayMissing(const GuiRequest& request, const DisplayEnvironment& environment) {
  return !given(request.qtPlatform) && !given(request.qtDisplay) &&
         environment.qtQpaPlatform.empty() && environment.display.empty() &&
         environment.waylandDisplay.empty();
}

std::string noDisplayText() {
  return "no display to open the windows on ($DISPLAY and $WAYLAND_DISPLAY are not set): "
         "set DISPLAY, start with -platform offscreen, or use brelvion-i2c-cli for the same "
         "commands";
}

}  // namespace brelvion::apps::gui
