#include <QAction>
#include <QMenu>

#include "gui/mainwindow/BusMenu.h"
#include "gui/mainwindow/MainWindow.h"
#include "gui/registermap/RegisterMapWindow.h"

namespace brelvion::gui::mainwindow {

void MainWindow::addRegisterMapItem() {
  QAction* item = busMenu(*this)->addAction("Register Map...");
  item->setObjectName("mnuBusRegisterMap");
  handle(item, &QAction::triggered, &MainWindow::openRegisterMap);
}

// One register map window for the program's run, made when it is first asked for.
void MainWindow::openRegisterMap() {
  if (registerMap_ == nullptr) {
    registerMap_ = new registermap::RegisterMapWindow(core_, windows_, this);
  }
  registerMap_->show();
  registerMap_->raise();
  registerMap_->activateWindow();
}

}  // namespace brelvion::gui::mainwindow
