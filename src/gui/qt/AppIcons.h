#pragma once

#include <QIcon>

namespace brelvion::gui::qt {

// The windows' icons, drawn as SVG and compiled into the program as the resources
// ":/icons/brelvion-i2c.svg" (the main window) and ":/icons/brelvion-wisp.svg" (the bus
// debugger). The resources live in a static library, so the linker keeps them only when
// something calls in: registerAppIcons() (which the icon functions call themselves) does,
// and after it the resource paths work everywhere in the program.
void registerAppIcons();
QIcon toolIcon();
QIcon wispIcon();

}  // namespace brelvion::gui::qt
