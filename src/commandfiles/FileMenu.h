#pragma once

#include <string>
#include <string_view>

#include "desktop/WindowSystem.h"

namespace brelvion::commandfiles {

inline constexpr std::string_view kOpenDialogTitle = "Open";

// The Open dialog for a command file or a bring-up script. lastChosen is the dialog's file name, kept from one
// use to the next: a choice replaces it and a cancel leaves it as it was. Returns it, so
// after a cancel the earlier choice comes back (empty when nothing was ever chosen).
const std::string& chooseCommandFile(desktop::WindowSystem& windows, std::string& lastChosen);

// Starts the text editor on file (empty: on a new file). When no editor starts, shows New
// I2C File's box, "Error Code 53: " and why, warning icon, default title; false then.
bool startEditor(desktop::WindowSystem& windows, const std::string& file,
                 const std::string& source);

}  // namespace brelvion::commandfiles
