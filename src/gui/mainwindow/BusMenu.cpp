#include "gui/mainwindow/BusMenu.h"

#include <QMainWindow>
#include <QMenu>
#include <QMenuBar>

namespace brelvion::gui::mainwindow {

QMenu* busMenu(QMainWindow& window) {
  QMenuBar* bar = window.menuBar();
  if (auto* existing = bar->findChild<QMenu*>("mnuBus")) return existing;
  auto* menu = new QMenu("Bus", bar);
  menu->setObjectName("mnuBus");
  // The entry after Option's, if any, is where the new menu goes in front of.
  QAction* before = nullptr;
  const QList<QAction*> entries = bar->actions();
  for (qsizetype i = 0; i + 1 < entries.size(); ++i) {
    if (entries[i]->menu() != nullptr && entries[i]->menu()->objectName() == "mnuOption") {
      before = entries[i + 1];
    }
  }
  bar->insertMenu(before, menu);
  return menu;
}

}  // namespace brelvion::gui::mainwindow
