#pragma once

#include <string>
#include <string_view>

#include "desktop/WindowSystem.h"

namespace brelvion::desktop {

// The help documents of the two windows' Help menus.
inline constexpr std::string_view kToolHelpName = "readme.txt";
inline constexpr std::string_view kDebuggerHelpName = "winwisp.txt";
inline constexpr std::string_view kBusHelpName = "I2cbus.pdf";
inline constexpr std::string_view kCableHelpName = "Cable.pdf";

// Shows a help document, found by findDocument: a text file in the desktop's text editor,
// or read-only in a window of its own where there is no editor; anything else in the
// desktop's viewer for its type. A missing document gives "53: File not found"
// (information icon, default title); a text that does not show gives New I2C File's box
// ("Error Code 53: " and why, warning icon), a viewer that does not show it "53: " and
// why (information icon).
void openHelpDocument(WindowSystem& windows, std::string_view name);

}  // namespace brelvion::desktop
