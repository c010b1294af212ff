#include "gui/qt/Twips.h"

#include <QGuiApplication>
#include <QScreen>
#include <QWidget>
#include <cmath>

namespace brelvion::gui::qt {

namespace {
constexpr double kTwipsPerInch = 1440.0;
constexpr double kFallbackDpi = 96.0;
}  // namespace

int twipsToPixels(int twips, double logicalDpi) {
  return static_cast<int>(std::lround(twips * logicalDpi / kTwipsPerInch));
}

QRect twipsRect(int left, int top, int width, int height, double logicalDpi) {
  return {twipsToPixels(left, logicalDpi), twipsToPixels(top, logicalDpi),
          twipsToPixels(width, logicalDpi), twipsToPixels(height, logicalDpi)};
}

QSize twipsSize(int width, int height, double logicalDpi) {
  return {twipsToPixels(width, logicalDpi), twipsToPixels(height, logicalDpi)};
}

double logicalDpiOf(const QWidget* widget) {
  const QScreen* screen =
      widget && widget->screen() ? widget->screen() : QGuiApplication::primaryScreen();
  return screen ? screen->logicalDotsPerInch() : kFallbackDpi;
}

}  // namespace brelvion::gui::qt
