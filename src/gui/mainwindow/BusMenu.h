#pragma once

class QMainWindow;
class QMenu;

namespace brelvion::gui::mainwindow {

// The top-level "Bus" menu (objectName mnuBus), right after "Option": the one the window
// has, or a new one put there.
QMenu* busMenu(QMainWindow& window);

}  // namespace brelvion::gui::mainwindow
