#pragma once

#include <ostream>
#include <string>

#include "platform/BusCapture.h"
#include "platform/WindowSystem.h"

namespace brelvion::gui {

inline constexpr const char* kCaptureErrorTitle = "Capture - Error";

// Writes the --capture recording when the windowed program ends. A failure is shown in a
// critical box ("NUMBER: description", OK) as well as on err, since a user of the windows
// does not watch standard error; false then.
bool writeSessionCapture(const platform::BusCapture& capture, const std::string& path,
                         platform::WindowSystem& windows, std::ostream& err);

}  // namespace brelvion::gui
