// The window on GPIO lines of a fake kernel's chip, and the Bus menu's line controls.
#include <QAction>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QPushButton>
#include <QStatusBar>
#include <QTest>
#include <algorithm>
#include <memory>

#include "FilesHarness.h"
#include "core/PortSwitch.h"
#include "gui/mainwindow/StepTimeDialog.h"
#include "port/gpio/GpioLines.h"
#include "support/FakeGpioKernel.h"
#include "support/FakeI2cDevSystemCalls.h"
#include "support/MasterWireDecoder.h"

namespace brelvion::testing {

namespace {

using desktop::MessageIcon;

constexpr std::uint32_t kScl = 3;
constexpr std::uint32_t kSda = 2;
constexpr int kGpioRow = 3;

// Lines 3 (SCL) and 2 (SDA) of a chip wired to a simulated bus of their own, with the
// sensors of config: beside the harness's parallel port, as a program has them.
struct GpioBench {
  explicit GpioBench(const simulator::SimulatedBusConfig& config = {}) {
    simulator::attachSensors(bus, config);
    kernel.wire(chip, kScl, kSda, bus);
    port::gpio::GpioLinesChoice choice;
    if (port::gpio::parseGpioLines("gpio:gpiochip0:3,2", choice)) qFatal("no GPIO choice");
    lines = std::make_unique<port::gpio::GpioLines>(choice, kernel, kernel.root());
  }

  bool requested() const {
    return std::find(kernel.log.begin(), kernel.log.end(),
                     "request gpiochip0 lines 3,2 flags output,open-drain,pull-up consumer "
                     "brelvion-i2c") != kernel.log.end();
  }

  FakeGpioKernel kernel;
  FakeGpioKernel::Chip& chip = kernel.addChip("gpiochip0", "pinctrl-bcm2711", 54);
  simulator::SimulatedI2cBus bus;
  std::unique_ptr<port::gpio::GpioLines> lines;
};

// A started window with the bench's lines in its port list (the row after the LPT rows).
struct GpioWindow {
  explicit GpioWindow(const simulator::SimulatedBusConfig& config = {})
      : bench(config), h(sensorAt42(), false, [this](gui::mainwindow::MainWindow& window) {
          window.setGpioLines(*bench.lines);
          window.setBusNotice("Simulated bus: camera sensor at 42h");
        }) {}

  void pickLines() {
    pickPort(h, kGpioRow);
    bench.kernel.events.clear();
  }

  GpioBench bench;
  MainWindowHarness h;
};

QStringList actionNames(QMenu* menu) {
  QStringList names;
  for (QAction* action : menu->actions()) names << action->objectName();
  return names;
}

// A sensor stopped one bit into a zero byte, holding SDA: more than the bus clear frees.
simulator::SimulatedBusConfig stuckEarly() {
  simulator::SimulatedBusConfig config;
  config.stuckMidByte = true;
  config.stuckBitsClocked = 1;
  return config;
}

}  // namespace

class MainWindowLinesTest : public QObject {
  Q_OBJECT

 private slots:
  void theLineControlsFollowTheBusMenusItemsAfterASeparator();
  void theGpioRowFollowsTheLptRowsAndCarriesSendRegister();
  void sendFileAndDumpRunOnTheGpioLines();
  void aChipRemovedMidDumpIsAnErrorAndWritesNoFile();
  void recoverBusFreesWhatTheBusClearCannotAndSaysSoInABox();
  void recoverBusOnAnAdapterIsRefusedInABox();
  void sendRegisterOnAHeldSdaIsTheNumberedErrorThatSaysToRecover();
  void stepTimeSetsTheEngineAndKeepsTheDialogOpenOnABadValue();
};

void MainWindowLinesTest::theLineControlsFollowTheBusMenusItemsAfterASeparator() {
  MainWindowHarness h;
  auto* bus = h.find<QMenu>("mnuBus");
  const QStringList names = actionNames(bus);
  QCOMPARE(names.mid(names.indexOf("mnuBusRegisterMap") + 1, 3),
           (QStringList{"mnuBusSp1", "mnuBusRecover", "mnuBusStepTime"}));
  QVERIFY(h.find<QAction>("mnuBusSp1")->isSeparator());
  QCOMPARE(h.find<QAction>("mnuBusRecover")->text(), QString("Re&cover Bus"));
  QCOMPARE(h.find<QAction>("mnuBusStepTime")->text(), QString("Step &Time..."));
}

void MainWindowLinesTest::theGpioRowFollowsTheLptRowsAndCarriesSendRegister() {
  FakeI2cDevSystemCalls calls;
  calls.kernel.addAdapter(3, "CP2112 SMBus Bridge on hidraw0");
  GpioBench bench;
  MainWindowHarness h(sensorAt42(), false, [&](gui::mainwindow::MainWindow& window) {
    window.setAdapters(port::i2cdev::listI2cAdapters(calls), core::systemAdapters(calls));
    window.setGpioLines(*bench.lines);
    window.setBusNotice("Simulated bus: camera sensor at 42h");
  });
  auto* ports = h.find<QListWidget>("ports");
  QCOMPARE(ports->count(), 5);
  QCOMPARE(ports->item(2)->text(), QString("LPT3, H3BC"));
  QCOMPARE(ports->item(kGpioRow)->text(), QString("GPIO, gpiochip0:3,2"));
  QCOMPARE(ports->item(4)->text(), QString("I2C-3, CP2112 SMBus Bridge on hidraw0"));
  QVERIFY2(!bench.requested(), "nothing asked of the chip before the row is chosen");

  pickPort(h, kGpioRow);
  QVERIFY(bench.requested());
  QCOMPARE(h.core.lines(), bench.lines.get());
  auto* notice = h.find<QLabel>("busNotice");
  QCOMPARE(notice->text(), QString("GPIO lines of gpiochip0: SCL 3, SDA 2"));
  QCOMPARE(h.linesStartingWith("Wisp SYS002").back(),
           std::string("Wisp SYS002: I2C bus opened on gpio:gpiochip0:3,2 "));

  bench.kernel.events.clear();
  h.field("Text3")->setText("12");
  h.field("Text4")->setText("80");
  click(h, "Command2");
  QCOMPARE(h.field("txtRRead")->text(), QString("80"));
  QCOMPARE(h.find<QLabel>("lblAck")->text(), QString("ACK"));
  const std::string wire = masterWire(bench.kernel.events, kScl, kSda);
  QVERIFY2(
      wire.find(testing::wire({"S", sentByte(0x42), sentByte(0x12), sentByte(0x80), "0P"})) == 0,
      wire.c_str());
  QCOMPARE(bench.kernel.drivenHigh, 0);

  pickPort(h, 0);
  QVERIFY(h.core.lines() == nullptr);
  QCOMPARE(notice->text(), QString("Simulated bus: camera sensor at 42h"));
  QVERIFY2(readRegister(h, 0x12) != 0x80, "the write went to the sensor on the lines");
  pickPort(h, kGpioRow);
  QCOMPARE(readRegister(h, 0x12), 0x80);
}

void MainWindowLinesTest::sendFileAndDumpRunOnTheGpioLines() {
  ScratchCurrentDirectory cwd;
  GpioWindow w;
  MainWindowHarness& h = w.h;
  w.pickLines();
  openFile(h, cwd.write("two.i2c", "42 10 5A\r\n42 11 A5 ; second\r\n"));
  click(h, "Command1");
  QCOMPARE(h.window.statusBar()->currentMessage(), QString("Send File: 2 writes sent"));
  QVERIFY(h.windows.boxes.empty());
  const std::string sent = masterWire(w.bench.kernel.events, kScl, kSda);
  QVERIFY(sent.find(wire({"S", sentByte(0x42), sentByte(0x10), sentByte(0x5A), "0P"})) !=
          std::string::npos);
  QVERIFY(sent.find(wire({"S", sentByte(0x42), sentByte(0x11), sentByte(0xA5), "0P"})) !=
          std::string::npos);

  dump(h, "17", "regs.i2c");
  QCOMPARE(h.window.statusBar()->currentMessage(),
           QString("Dump to File: 18 registers written to regs.i2c"));
  const std::string text = readWhole(cwd.file("regs.i2c"));
  QCOMPARE(text.substr(0, 11), std::string("43  0  28\r\n"));
  QVERIFY(text.find("43  10  5A\r\n43  11  A5\r\n") != std::string::npos);
  QCOMPARE(w.bench.kernel.drivenHigh, 0);
}

void MainWindowLinesTest::aChipRemovedMidDumpIsAnErrorAndWritesNoFile() {
  ScratchCurrentDirectory cwd;
  GpioWindow w;
  MainWindowHarness& h = w.h;
  w.pickLines();
  w.bench.kernel.removeAfterCalls = 200;
  dump(h, "255", "regs.i2c");
  QVERIFY(!exists(cwd.file("regs.i2c")));
  QCOMPARE(h.windows.boxes.size(), std::size_t{1});
  const std::string& text = h.windows.boxes[0].text;
  QVERIFY2(text.rfind("68: Access to " + w.bench.kernel.path("gpiochip0") +
                          " failed: No such device. The GPIO chip is gone",
                      0) == 0,
           text.c_str());
  QCOMPARE(w.bench.kernel.openDescriptors(), std::size_t{0});
}

void MainWindowLinesTest::recoverBusFreesWhatTheBusClearCannotAndSaysSoInABox() {
  GpioWindow w(stuckEarly());
  MainWindowHarness& h = w.h;
  w.pickLines();
  QVERIFY2(!w.bench.lines->sda(), "the port change's six-pulse bus clear left SDA held");
  h.core.log().debuggerOn();  // a port change turns the trace off, as the design did
  h.lines.clear();
  h.find<QAction>("mnuBusRecover")->trigger();
  QCOMPARE(h.windows.boxes.size(), std::size_t{1});
  QCOMPARE(h.windows.boxes[0].text, std::string("Bus free after 2 clock pulses"));
  QCOMPARE(h.windows.boxes[0].title, std::string("Recover Bus"));
  QCOMPARE(h.windows.boxes[0].icon, MessageIcon::Information);
  QCOMPARE(h.linesStartingWith("Wisp SYS004"),
           std::vector<std::string>{"Wisp SYS004: Bus free after 2 clock pulses        "});
  h.field("Text3")->setText("12");
  h.field("Text4")->setText("80");
  click(h, "Command2");
  QCOMPARE(h.field("txtRRead")->text(), QString("80"));

  // On the parallel port, with nothing held, the same item needs no pulse.
  pickPort(h, 0);
  h.find<QAction>("mnuBusRecover")->trigger();
  QCOMPARE(h.windows.boxes.back().text, std::string("The bus was already free"));
}

void MainWindowLinesTest::sendRegisterOnAHeldSdaIsTheNumberedErrorThatSaysToRecover() {
  GpioWindow w(stuckEarly());
  MainWindowHarness& h = w.h;
  w.pickLines();
  h.field("Text3")->setText("12");
  h.field("Text4")->setText("80");
  click(h, "Command2");
  QCOMPARE(h.windows.boxes.size(), std::size_t{1});
  const std::string& text = h.windows.boxes[0].text;
  QVERIFY2(text.rfind("68: SDA is held low", 0) == 0, text.c_str());
  QVERIFY2(text.find("(Bus > Recover Bus in the window)") != std::string::npos, text.c_str());
}

void MainWindowLinesTest::recoverBusOnAnAdapterIsRefusedInABox() {
  FakeI2cDevSystemCalls calls;
  calls.kernel.addAdapter(3, "CP2112 SMBus Bridge on hidraw0");
  MainWindowHarness h(sensorAt42(), false, [&](gui::mainwindow::MainWindow& window) {
    window.setAdapters(port::i2cdev::listI2cAdapters(calls), core::systemAdapters(calls));
  });
  pickPort(h, 3);
  h.find<QAction>("mnuBusRecover")->trigger();
  QCOMPARE(h.windows.boxes.size(), std::size_t{1});
  QCOMPARE(h.windows.boxes[0].text,
           std::string("5: Bus recovery pulses lines the tool drives itself; i2c-3 is an adapter "
                       "whose driver recovers its own bus"));
  QVERIFY(h.find<QAction>("mnuBusRecover")->isEnabled());
}

void MainWindowLinesTest::stepTimeSetsTheEngineAndKeepsTheDialogOpenOnABadValue() {
  MainWindowHarness h;
  h.window.show();
  h.find<QAction>("mnuBusStepTime")->trigger();
  auto* dialog = h.window.findChild<gui::mainwindow::StepTimeDialog*>("StepTimeDialog");
  QVERIFY(dialog != nullptr);
  QVERIFY(dialog->isVisible());
  QCOMPARE(dialog->windowTitle(), QString("Step Time"));
  auto* step = dialog->findChild<QLineEdit*>("stepTimeStep");
  auto* stretch = dialog->findChild<QLineEdit*>("stepTimeStretch");
  QCOMPARE(step->text(), QString("5"));
  QCOMPARE(stretch->text(), QString("25"));
  QStringList captions;
  for (QLabel* label : dialog->findChildren<QLabel*>()) captions << label->text();
  QCOMPARE(captions,
           (QStringList{QString::fromUtf8("Each line step lasts at least the line step "
                                          "(5\u00a0µs: I2C standard mode). A slave may hold "
                                          "SCL low up to the stretch timeout where the lines "
                                          "read SCL back (GPIO lines); the parallel-port cable "
                                          "cannot."),
                        QString::fromUtf8("Line step (µs, 5 to 1000):"),
                        "Stretch timeout (ms, 1 to 10000):"}));

  step->setText("1001");
  stretch->setText("100");
  QMetaObject::invokeMethod(dialog, "applyRequested");
  QVERIFY(dialog->isVisible());
  QCOMPARE(h.windows.boxes.size(), std::size_t{1});
  QCOMPARE(h.windows.boxes[0].text,
           std::string("5: The line step must be 5 to 1000 \u00b5s, not 1001"));
  QCOMPARE(h.windows.boxes[0].title, std::string("Step Time"));
  QCOMPARE(h.windows.boxes[0].icon, MessageIcon::Exclamation);
  QCOMPARE(h.core.engine().stepTime(), std::chrono::microseconds(5));
  QCOMPARE(step->selectedText(), QString("1001"));

  step->setText(" 20 ");
  QMetaObject::invokeMethod(dialog, "applyRequested");
  QVERIFY(!dialog->isVisible());
  QCOMPARE(h.core.engine().stepTime(), std::chrono::microseconds(20));
  QCOMPARE(h.core.engine().stretchTimeout(), std::chrono::milliseconds(100));

  h.find<QAction>("mnuBusStepTime")->trigger();
  QCOMPARE(step->text(), QString("20"));
  QCOMPARE(stretch->text(), QString("100"));
}

}  // namespace brelvion::testing

QTEST_MAIN(brelvion::testing::MainWindowLinesTest)
#include "MainWindowLinesTest.moc"
