#include "gui/qt/AppIcons.h"

// Outside every namespace: the resource's initialiser is a global function.
static void initIconResources() { Q_INIT_RESOURCE(icons); }

namespace brelvion::gui::qt {

void registerAppIcons() {
  static const bool registered = (initIconResources(), true);
  (void)registered;
}

QIcon toolIcon() {
  registerAppIcons();
  return QIcon(QStringLiteral(":/icons/brelvion-i2c.svg"));
}

QIcon wispIcon() {
  registerAppIcons();
  return QIcon(QStringLiteral(":/icons/brelvion-wisp.svg"));
}

}  // namespace brelvion::gui::qt
