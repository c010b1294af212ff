#include "gui/qt/DesignFonts.h"

namespace brelvion::gui::qt {

QFont designFont(DesignFace /*face*/, double points, bool bold) {
  QFont font(QString::fromLatin1(kDesignFontFamily));
  // Without the Liberation fonts, fall back to whatever sans face the system has rather
  // than to a serif default.
  font.setStyleHint(QFont::SansSerif);
  font.setPointSizeF(points);
  font.setBold(bold);
  return font;
}

}  // namespace brelvion::gui::qt
