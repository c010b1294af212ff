#include "mainwindow/DesignFonts.h"

namespace brelvion::mainwindow {

QFont designFont(double pointSize, bool bold) {
  QFont font(kDesignFontFamily);
  font.setPointSizeF(pointSize);
  font.setBold(bold);
  return font;
}

}  // namespace brelvion::mainwindow
