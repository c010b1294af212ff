#include <QAction>
#include <QMainWindow>
#include <QMenu>
#include <QMenuBar>
#include <QTest>

#include "MainWindowHarness.h"
#include "gui/mainwindow/BusMenu.h"
#include "gui/registermap/RegisterMapWindow.h"

namespace brelvion::testing {

namespace {

QStringList menuTitles(QMenuBar* bar) {
  QStringList titles;
  for (QAction* entry : bar->actions()) titles << entry->text();
  return titles;
}

}  // namespace

class MainWindowBusMenuTest : public QObject {
  Q_OBJECT

 private slots:
  void theBusMenuFollowsOptionAndEndsWithRegisterMap();
  void registerMapOpensOneWindowOnTheProgramsCore();
  void anExistingBusMenuIsTakenAndANewOneGoesRightAfterOption();
};

void MainWindowBusMenuTest::theBusMenuFollowsOptionAndEndsWithRegisterMap() {
  MainWindowHarness h;
  QCOMPARE(menuTitles(h.window.menuBar()), (QStringList{"&File", "Help", "Option", "Bus"}));
  auto* bus = h.find<QMenu>("mnuBus");
  QCOMPARE(bus->title(), QString("Bus"));
  QCOMPARE(bus->actions().back()->objectName(), QString("mnuBusRegisterMap"));
  QCOMPARE(bus->actions().back()->text(), QString("Register Map..."));
}

void MainWindowBusMenuTest::registerMapOpensOneWindowOnTheProgramsCore() {
  MainWindowHarness h;
  QVERIFY(h.window.findChild<gui::registermap::RegisterMapWindow*>() == nullptr);
  h.find<QAction>("mnuBusRegisterMap")->trigger();
  auto* map = h.window.findChild<gui::registermap::RegisterMapWindow*>("RegisterMapWindow");
  QVERIFY(map != nullptr);
  QVERIFY(map->isVisible());
  QVERIFY(map->isWindow());
  map->close();
  h.find<QAction>("mnuBusRegisterMap")->trigger();
  QCOMPARE(h.window.findChildren<gui::registermap::RegisterMapWindow*>().size(), 1);
  QVERIFY(map->isVisible());
  // It starts on the main window's device, 256 one-byte registers.
  QCOMPARE(map->table().map().deviceAddress, std::optional<std::uint8_t>(0x42));
  QCOMPARE(map->table().map().registers.size(), std::size_t{256});
}

void MainWindowBusMenuTest::anExistingBusMenuIsTakenAndANewOneGoesRightAfterOption() {
  QMainWindow window;
  window.menuBar()->addMenu("File");
  window.menuBar()->addMenu("Option")->setObjectName("mnuOption");
  window.menuBar()->addMenu("Help");
  QMenu* made = gui::mainwindow::busMenu(window);
  QCOMPARE(menuTitles(window.menuBar()), (QStringList{"File", "Option", "Bus", "Help"}));
  made->addAction("Scan...");
  QCOMPARE(gui::mainwindow::busMenu(window), made);
  QCOMPARE(window.menuBar()->actions().size(), 4);
}

}  // namespace brelvion::testing

QTEST_MAIN(brelvion::testing::MainWindowBusMenuTest)
#include "MainWindowBusMenuTest.moc"
