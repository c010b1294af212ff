#include "QtOptions.h"

#include <array>
#include <string_view>

namespace brelvion::apps::gui {

namespace {

struct KnownQtOption {
  std::string_view name;
  bool takesValue;
  // Also as "-name=value" (Qt reads only these three that way).
  bool joinedValue = false;
};

// As Qt 6.4's QCoreApplication, QGuiApplication, QApplication and xcb platform plugin take
// them out of argv, each also with two dashes. Checked against the real QApplication:
// -sync and the Windows-only -dialogs=, -fontengine= stay in its arguments, so they are
// not here either.
constexpr std::array<KnownQtOption, 24> kQtOptions{{
    {"platform", true},
    {"platformpluginpath", true},
    {"platformtheme", true},
    {"plugin", true},
    {"qwindowgeometry", true},
    {"qwindowicon", true},
    {"qwindowtitle", true},
    {"session", true},
    {"style", true, true},
    {"stylesheet", true, true},
    {"qmljsdebugger", true, true},
    {"reverse", false},
    {"widgetcount", false},
    {"testability", false},
    {"qdevel", false},
    {"qdebug", false},
    // The X11 platform's.
    {"display", true},
    {"geometry", true},
    {"title", true},
    {"icon", true},
    {"name", true},
    {"visual", true},
    {"nograb", false},
    {"dograb", false},
}};

}  // namespace

std::optional<QtOptionUse> qtOptionAt(const std::vector<std::string>& args, std::size_t i) {
  std::string_view arg = args[i];
  if (arg.size() < 2 || arg[0] != '-') return std::nullopt;
  arg.remove_prefix(arg[1] == '-' ? 2 : 1);
  const std::size_t equals = arg.find('=');
  const std::string_view name = arg.substr(0, equals);
  for (const KnownQtOption& known : kQtOptions) {
    if (name != known.name) continue;
    QtOptionUse use;
    use.name = name;
    if (equals != std::string_view::npos) {
      if (!known.joinedValue) return std::nullopt;
      use.value = arg.substr(equals + 1);
    } else if (known.takesValue && i + 1 >= args.size()) {
      use.valueMissing = true;
    } else if (known.takesValue) {
      use.value = args[i + 1];
      use.length = 2;
    }
    return use;
  }
  return std::nullopt;
}

}  // namespace brelvion::apps::gui
