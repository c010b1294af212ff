#pragma once

#include <string>

#include "GuiArguments.h"

namespace brelvion::apps::gui {

// What the environment tells Qt about the window system; an unset variable is empty.
struct DisplayEnvironment {
  std::string qtQpaPlatform;   // QT_QPA_PLATFORM
  std::string display;         // DISPLAY
  std::string waylandDisplay;  // WAYLAND_DISPLAY
};

DisplayEnvironment currentDisplayEnvironment();

// True when Qt would find no display to open the windows on, and abort: nobody chose a
// platform (no -platform, QT_QPA_PLATFORM empty), no -display was given, and neither
// DISPLAY nor WAYLAND_DISPLAY is set. A platform or display that was chosen is left to Qt,
// whose own message then names what is wrong with it.
bool displayMissing(const GuiRequest& request, const DisplayEnvironment& environment);

// The one line that says so, and what to do instead.
std::string noDisplayText();

}  // namespace brelvion::apps::gui
