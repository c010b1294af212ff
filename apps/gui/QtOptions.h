#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <vector>

namespace brelvion::apps::gui {

// One of Qt's own options on the windowed program's command line. The program's arguments
// are checked before QApplication starts (without a display Qt aborts before anything
// else could be said), so Qt's options have to be known here to be let through.
struct QtOptionUse {
  // Without its dashes: "platform" for -platform, --platform and -platform=...
  std::string name;
  std::string value;
  // Arguments it takes up: 1, or 2 for a value in the next argument.
  std::size_t length = 1;
  // A value-taking option as the last argument.
  bool valueMissing = false;
};

// args[i] as one of the options QApplication takes out of its arguments (Qt 6.4 on
// Debian 12, the X11 platform's own ones included, which other platforms leave and the
// program then ignores); nothing when it is none of them.
std::optional<QtOptionUse> qtOptionAt(const std::vector<std::string>& args, std::size_t i);

}  // namespace brelvion::apps::gui
