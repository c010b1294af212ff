#pragma once

#include <QFont>

namespace brelvion::mainwindow {

// The design's fonts ("MS Sans Serif", "Tahoma") are not on a Linux desktop; Liberation
// Sans has the same metrics class and is installed with the program's dependencies.
inline constexpr const char* kDesignFontFamily = "Liberation Sans";
inline constexpr double kControlPointSize = 9.75;
inline constexpr double kWindowDefaultPointSize = 8.25;

QFont designFont(double pointSize, bool bold);

}  // namespace brelvion::mainwindow
