#pragma once

#include <ostream>
#include <string>

#include "desktop/WindowSystem.h"
#include "capture/BusCapture.h"

namespace brelvion::apps::gui {

inline constexpr const char* kCaptureErrorTitle = "Capture - Error";

// Writes the --capture recording when the windowed program ends. A failure is shown in a
// critical box ("NUMBER: description", OK) as well as on err, since a user of the windows
// does not watch standard error; false then.
bool writeSessionCapture(const capture::BusCapture& capture, const std::string& path,
                         desktop::WindowSystem& windows, std::ostream& err);

}  // namespace brelvion::apps::gui
