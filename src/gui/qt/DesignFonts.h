#pragma once

#include <QFont>

namespace brelvion::gui::qt {

// The faces the windows were designed with. Neither ships with Linux; both map to one
// metric-compatible sans face so captions keep the width they were laid out for.
enum class DesignFace { MsSansSerif, Tahoma };

// The family every design face is drawn with (Debian package fonts-liberation2).
inline constexpr const char* kDesignFontFamily = "Liberation Sans";

// A font for a design face at the design's point size (fractions such as 8.25 are kept).
QFont designFont(DesignFace face, double points, bool bold);

}  // namespace brelvion::gui::qt
