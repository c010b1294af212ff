#include "gui/mainwindow/MainWindow.h"
#include "gui/registermap/RegisterMapWindow.h"

namespace brelvion::gui::mainwindow {

// One register map window for the program's run, made when it is first asked for.
void MainWindow::openRegisterMap() {
  if (registerMap_ == nullptr) {
    registerMap_ = new registermap::RegisterMapWindow(core_, windows_, fields_.deviceAddress, this);
  }
  registerMap_->show();
  registerMap_->raise();
  registerMap_->activateWindow();
}

}  // namespace brelvion::gui::mainwindow
