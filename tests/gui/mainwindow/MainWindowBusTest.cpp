#include <QAction>
#include <QCheckBox>
#include <QHeaderView>
#include <QLabel>
#include <QListWidget>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QTableWidget>
#include <QTest>

#include "MainWindowHarness.h"
#include "core/PortSwitch.h"
#include "gui/registermap/RegisterMapWindow.h"
#include "gui/scan/ScanDialog.h"
#include "support/FakeI2cDevSystemCalls.h"

namespace brelvion::testing {

namespace {

simulator::SimulatedBusConfig sensorsAt(std::vector<std::uint8_t> addresses) {
  simulator::SimulatedBusConfig config;
  config.sensorAddresses = std::move(addresses);
  return config;
}

QString cellText(QTableWidget* grid, int row, int column) {
  const QTableWidgetItem* item = grid->item(row, column);
  return item != nullptr ? item->text() : QString();
}

void doubleClickCell(QTableWidget* grid, int row, int column) {
  grid->scrollToItem(grid->item(row, column));
  const QPoint place = grid->visualItemRect(grid->item(row, column)).center();
  // An item view takes a double-click only on the item its press went to.
  QTest::mouseClick(grid->viewport(), Qt::LeftButton, {}, place);
  QTest::mouseDClick(grid->viewport(), Qt::LeftButton, {}, place);
}

}  // namespace

class MainWindowBusTest : public QObject {
  Q_OBJECT

 private slots:
  void theBusMenuFollowsOptionWithItsItems();
  void repeatedStartJoinsTheReadOfSendRegister();
  void registerMapOpensOneWindowOnTheProgramsCore();
  void theScanShowsTheSensorsAndADoubleClickChoosesOne();
  void aScanWithSdaHeldLowSaysSoInTheDialog();
  void anAdapterRowCarriesEveryCommandAndTheStatusLineNamesIt();
  void theRowOfAnAdapterChosenAtStartUpIsSelected();
  void enterOnAnAddressThatAnsweredChoosesIt();
  void aScanThatFoundNothingGivesNoAdviceToDoubleClick();
};

void MainWindowBusTest::theBusMenuFollowsOptionWithItsItems() {
  MainWindowHarness h;
  const QList<QAction*> menus = h.window.menuBar()->actions();
  QStringList names;
  for (QAction* menu : menus) names << menu->menu()->objectName();
  QCOMPARE(names, (QStringList{"mnuFile", "Help", "mnuOption", "mnuBus"}));
  auto* bus = h.find<QMenu>("mnuBus");
  QCOMPARE(bus->title(), QString("&Bus"));
  QCOMPARE(bus->actions()[0]->objectName(), QString("mnuBusScan"));
  QCOMPARE(bus->actions()[0]->text(), QString("&Scan..."));
  auto* repeated = h.find<QAction>("mnuBusRepeatedStart");
  QCOMPARE(repeated->text(), QString("&Repeated START"));
  QVERIFY(repeated->isCheckable());
  QVERIFY(!repeated->isChecked());
  QCOMPARE(bus->actions()[2]->objectName(), QString("mnuBusRegisterMap"));
  QCOMPARE(bus->actions()[2]->text(), QString("Register &Map..."));
  // Then the line controls and the scripts' item, each group below a separator.
  QStringList items;
  for (QAction* action : bus->actions()) items << action->objectName();
  QCOMPARE(items, (QStringList{"mnuBusScan", "mnuBusRepeatedStart", "mnuBusRegisterMap",
                               "mnuBusSp1", "mnuBusRecover", "mnuBusStepTime",
                               "mnuBusScriptsSp", "mnuBusKeepGoing"}));
  QVERIFY(h.find<QAction>("mnuBusScriptsSp")->isSeparator());
  // Each item is reached from the keyboard by a letter no other item of the menu has.
  QString letters;
  for (QAction* action : bus->actions()) {
    if (action->isSeparator()) continue;
    const QString caption = action->text();
    const qsizetype amp = caption.indexOf('&');
    QVERIFY2(amp >= 0 && amp + 1 < caption.size(), qPrintable(caption));
    const QChar letter = caption[amp + 1].toLower();
    QVERIFY2(!letters.contains(letter), qPrintable(caption));
    letters += letter;
  }
}

void MainWindowBusTest::registerMapOpensOneWindowOnTheProgramsCore() {
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

void MainWindowBusTest::repeatedStartJoinsTheReadOfSendRegister() {
  MainWindowHarness h;
  QTest::mouseClick(h.find<QPushButton>("Command2"), Qt::LeftButton);
  QVERIFY(h.linesStartingWith("Wisp MSG006").empty());
  QCOMPARE(h.linesStartingWith("Wisp MSG002").size(), std::size_t{3});

  h.find<QAction>("mnuBusRepeatedStart")->trigger();
  QVERIFY(h.window.readPointerThen() == i2c::AfterMessage::RepeatedStart);
  h.lines.clear();
  QTest::mouseClick(h.find<QPushButton>("Command2"), Qt::LeftButton);
  QCOMPARE(h.linesStartingWith("Wisp MSG006:  Generating repeated START on bus    ").size(),
           std::size_t{1});
  QCOMPARE(h.linesStartingWith("Wisp MSG002").size(), std::size_t{2});
  QCOMPARE(h.field("txtRRead")->text(), QString("0"));

  h.find<QAction>("mnuBusRepeatedStart")->trigger();
  QVERIFY(h.window.readPointerThen() == i2c::AfterMessage::Stop);
}

void MainWindowBusTest::theScanShowsTheSensorsAndADoubleClickChoosesOne() {
  MainWindowHarness h(sensorsAt({0x42, 0x6C}));
  h.find<QAction>("mnuBusScan")->trigger();
  auto* dialog = h.find<gui::scan::ScanDialog>("ScanDialog");
  QVERIFY(dialog->isVisible());
  QCOMPARE(dialog->windowTitle(), QString("Bus Scan"));
  auto* grid = h.find<QTableWidget>("scanGrid");
  QCOMPARE(grid->horizontalHeaderItem(1)->text(), QString("02"));
  QCOMPARE(grid->verticalHeaderItem(2)->text(), QString("40"));
  QCOMPARE(cellText(grid, 2, 1), QString("42"));
  QCOMPARE(cellText(grid, 3, 6), QString("6C"));
  QCOMPARE(cellText(grid, 2, 2), QString("--"));
  QCOMPARE(cellText(grid, 0, 0), QString(""));
  QCOMPARE(h.find<QLabel>("scanSummary")->text(), QString("2 devices answered: 42, 6C"));
  QCOMPARE(h.windows.beeps, 0);

  h.find<QCheckBox>("scanSevenBit")->setChecked(true);
  QCOMPARE(grid->horizontalHeaderItem(1)->text(), QString("1"));
  QCOMPARE(grid->verticalHeaderItem(2)->text(), QString("20"));
  QCOMPARE(cellText(grid, 2, 1), QString("21"));
  QCOMPARE(h.find<QLabel>("scanSummary")->text(), QString("2 devices answered: 21, 36"));

  doubleClickCell(grid, 2, 2);  // nobody there: nothing happens
  QVERIFY(dialog->isVisible());
  doubleClickCell(grid, 3, 6);
  QVERIFY(!dialog->isVisible());
  QCOMPARE(h.field("Text2")->text(), QString("6C"));
  QCOMPARE(h.window.fields().deviceAddress, std::int16_t{0x6C});

  // Scanning again finds what is there now.
  h.find<QAction>("mnuBusScan")->trigger();
  QTest::mouseClick(h.find<QPushButton>("scanAgain"), Qt::LeftButton);
  QCOMPARE(cellText(grid, 2, 1), QString("21"));
}

void MainWindowBusTest::aScanWithSdaHeldLowSaysSoInTheDialog() {
  simulator::SimulatedBusConfig held;
  held.sdaHeldLow = true;
  MainWindowHarness h(held);
  h.lines.clear();
  h.find<QAction>("mnuBusScan")->trigger();
  QVERIFY(h.find<QLabel>("scanSummary")->text().startsWith("SDA is held low: something on the bus"));
  QVERIFY(!h.find<QTableWidget>("scanGrid")->isEnabled());
  QVERIFY(h.linesStartingWith("Wisp MSG001").empty());
}

void MainWindowBusTest::anAdapterRowCarriesEveryCommandAndTheStatusLineNamesIt() {
  FakeI2cDevSystemCalls calls;
  calls.kernel.addAdapter(3, "CP2112 SMBus Bridge on hidraw0").devices[0x21];
  MainWindowHarness h(sensorAt42(), false, [&](gui::mainwindow::MainWindow& window) {
    window.setAdapters(port::i2cdev::listI2cAdapters(calls), core::systemAdapters(calls));
    window.setBusNotice("Simulated bus: camera sensor at 42h");
  });
  auto* ports = h.find<QListWidget>("ports");
  QCOMPARE(ports->count(), 4);
  QCOMPARE(ports->item(0)->text(), QString("LPT1, H378"));
  QCOMPARE(ports->item(2)->text(), QString("LPT3, H3BC"));
  QCOMPARE(ports->item(3)->text(), QString("I2C-3, CP2112 SMBus Bridge on hidraw0"));

  pickPort(h, 3);
  QVERIFY(h.core.adapter() != nullptr);
  auto* notice = h.find<QLabel>("busNotice");
  QCOMPARE(notice->text(),
           QString("I2C adapter i2c-3, CP2112 SMBus Bridge on hidraw0 (i2c-dev)"));
  h.field("Text3")->setText("12");
  h.field("Text4")->setText("80");
  QTest::mouseClick(h.find<QPushButton>("Command2"), Qt::LeftButton);
  QCOMPARE(h.field("txtRRead")->text(), QString("80"));
  QCOMPARE(calls.kernel.adapters[3].devices[0x21].registers[0x12], 0x80);
  QCOMPARE(h.find<QLabel>("lblAck")->text(), QString("ACK"));

  h.field("Text2")->setText("60");
  QTest::mouseClick(h.find<QPushButton>("Command2"), Qt::LeftButton);
  QCOMPARE(h.field("txtRRead")->text(), QString(""));
  QCOMPARE(h.find<QLabel>("lblAck")->text(), QString("NO ACK"));

  pickPort(h, 0);
  QVERIFY(h.core.adapter() == nullptr);
  QCOMPARE(notice->text(), QString("Simulated bus: camera sensor at 42h"));
  QCOMPARE(calls.kernel.log.back(), std::string("close 3"));
}

void MainWindowBusTest::theRowOfAnAdapterChosenAtStartUpIsSelected() {
  FakeI2cDevSystemCalls calls;
  calls.kernel.addAdapter(3, "CP2112 SMBus Bridge on hidraw0");
  calls.kernel.addAdapter(5, "").devices[0x21];
  const core::AdapterFactory factory = core::systemAdapters(calls);
  MainWindowHarness h(sensorAt42(), false, [&](gui::mainwindow::MainWindow& window) {
    window.setAdapters(port::i2cdev::listI2cAdapters(calls), factory);
    core::selectPort(h.core, port::PortChoice::i2cDev(5), factory);
  });
  QVERIFY(h.core.adapter() != nullptr);
  auto* ports = h.find<QListWidget>("ports");
  QCOMPARE(ports->currentRow(), 4);
  QCOMPARE(ports->selectedItems(), QList<QListWidgetItem*>{ports->item(4)});
  // The bus stays where it is: marking the row is no port change.
  QCOMPARE(h.core.adapter()->name(), std::string("i2c-5"));
}

void MainWindowBusTest::enterOnAnAddressThatAnsweredChoosesIt() {
  MainWindowHarness h(sensorsAt({0x42, 0x6C}));
  h.find<QAction>("mnuBusScan")->trigger();
  auto* dialog = h.find<gui::scan::ScanDialog>("ScanDialog");
  auto* grid = h.find<QTableWidget>("scanGrid");
  QVERIFY(h.find<QLabel>("scanHint")->isVisible());
  const QPoint empty = grid->visualItemRect(grid->item(2, 2)).center();
  QTest::mouseClick(grid->viewport(), Qt::LeftButton, {}, empty);
  QCOMPARE(grid->selectedItems(), QList<QTableWidgetItem*>{grid->item(2, 2)});
  QTest::keyClick(grid, Qt::Key_Return);  // nobody there: nothing, and no rescan either
  QVERIFY(dialog->isVisible());
  QCOMPARE(h.field("Text2")->text(), QString("42"));
  const QPoint sensor = grid->visualItemRect(grid->item(3, 6)).center();
  QTest::mouseClick(grid->viewport(), Qt::LeftButton, {}, sensor);
  QTest::keyClick(grid, Qt::Key_Enter, Qt::KeypadModifier);
  QVERIFY(!dialog->isVisible());
  QCOMPARE(h.field("Text2")->text(), QString("6C"));
}

void MainWindowBusTest::aScanThatFoundNothingGivesNoAdviceToDoubleClick() {
  MainWindowHarness h(noDevice());
  h.find<QAction>("mnuBusScan")->trigger();
  QVERIFY(h.find<gui::scan::ScanDialog>("ScanDialog")->isVisible());
  QVERIFY(!h.find<QLabel>("scanHint")->isVisible());
}

}  // namespace brelvion::testing

QTEST_MAIN(brelvion::testing::MainWindowBusTest)
#include "MainWindowBusTest.moc"
