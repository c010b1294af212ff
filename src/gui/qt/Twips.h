#pragma once

#include <QRect>
#include <QSize>

class QWidget;

namespace brelvion::gui::qt {

// The windows' geometry is designed in twips (1/1440 inch). At the screen's logical DPI
// one pixel is 1440 / DPI twips: 15 at 96 DPI.
int twipsToPixels(int twips, double logicalDpi);
QRect twipsRect(int left, int top, int width, int height, double logicalDpi);
QSize twipsSize(int width, int height, double logicalDpi);

// The logical DPI of the screen the widget is on (of the primary screen before it is shown).
double logicalDpiOf(const QWidget* widget);

}  // namespace brelvion::gui::qt
