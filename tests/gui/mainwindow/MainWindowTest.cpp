#include <QAction>
#include <QGroupBox>
#include <QLabel>
#include <QListWidget>
#include <QMenu>
#include <QPushButton>
#include <QStatusBar>
#include <QTest>

#include "MainWindowHarness.h"
#include "gui/qt/Twips.h"

namespace brelvion::testing {

using desktop::MessageIcon;

namespace {

// The next control a Tab reaches from widget.
QWidget* nextTabStop(QWidget* widget) {
  QWidget* next = widget->nextInFocusChain();
  while (next != widget && !(next->focusPolicy() & Qt::TabFocus)) next = next->nextInFocusChain();
  return next;
}

QColor textColour(const QLabel* label) { return label->palette().color(QPalette::WindowText); }

}  // namespace

class MainWindowTest : public QObject {
  Q_OBJECT

 private slots:
  void startUpSetsTheDefaultsAndLeavesTwoTraceLines();
  void aPortThatFailsAtStartUpIsReportedAndTheWindowStillShows();
  void controlsCarryTheirDesignTextsFontsAndTips();
  void menusCarryTheirCaptionsShortcutsAndCheckMark();
  void sendRegisterShowsTheReadBackAndAGreenAck();
  void sendRegisterWithoutADeviceShowsARedNoAckAndSixTimeouts();
  void sendRegisterWithTheDebuggerDisabledBeepsSixTimes();
  void pickingAPortReopensTheBusThereWithTheDebuggerDisabled();
  void pickingTheCurrentPortAgainReopensIt();
  void theIndicatorHasThreeStates();
  void audibleTogglesBeepOn();
  void wispMonitorShowsTheOneDebuggerWindow();
  void aBusCommandStartedDuringAYieldIsRefused();
  void anErrorInAHandlerIsShownAndTheProgramGoesOn();
  void exitAndClosingEndTheProgram();
  void theBusNoticeShowsInTheStatusLine();
  void theCaptionAndTheResizeBoxTitleKeepTheirWords();
  void enterPressesTheFocusedButton();
};

void MainWindowTest::startUpSetsTheDefaultsAndLeavesTwoTraceLines() {
  MainWindowHarness h;
  QCOMPARE(h.window.windowTitle(), QString("Brelvion I2C Debug Tool"));
  QVERIFY(h.window.isVisible());
  QCOMPARE(h.window.fields().deviceAddress, std::int16_t{0x42});
  QCOMPARE(h.window.fields().subAddress, std::int16_t{0});
  QCOMPARE(h.window.sendOptions().commandDelay, 0.0);
  QVERIFY(h.window.sendOptions().beepOn);
  QCOMPARE(h.core.ports().portIndex, std::int16_t{0});
  QCOMPARE(h.core.log().enabled(), true);
  QCOMPARE(h.field("Text6")->text(), QString("0"));
  QCOMPARE(h.field("Text6")->maxLength(), 1);
  QCOMPARE(h.field("Text7")->text(), QString("00"));
  QCOMPARE(h.field("Text7")->maxLength(), 2);
  auto* ports = h.find<QListWidget>("ports");
  QCOMPARE(ports->count(), 3);
  QCOMPARE(ports->item(0)->text(), QString("LPT1, H378"));
  QCOMPARE(ports->item(1)->text(), QString("LPT2, H278"));
  QCOMPARE(ports->item(2)->text(), QString("LPT3, H3BC"));
  QVERIFY(ports->selectedItems().isEmpty());
  QVERIFY(h.find<QLabel>("lblAck")->isHidden());
  QVERIFY(h.windows.boxes.empty());
  // The first control of the tab order has the focus.
  QCOMPARE(h.window.focusWidget(), h.field("Text3"));

  QCOMPARE(QString::fromStdString(h.monitor.text()),
           QString("Wisp Debugger ENABLED                             \r\n"
                   "Wisp SYS003 :I2C Bus closed                       "));

  const double dpi = gui::qt::logicalDpiOf(&h.window);
  QCOMPARE(h.find<QWidget>("client")->size(), gui::qt::twipsSize(6450, 4965, dpi));
}

void MainWindowTest::aPortThatFailsAtStartUpIsReportedAndTheWindowStillShows() {
  MainWindowHarness h(sensorAt42(), true);
  QCOMPARE(h.windows.boxes.size(), std::size_t{1});
  QCOMPARE(h.windows.boxes[0].title, std::string("Form Load"));
  QCOMPARE(h.windows.boxes[0].text, std::string("68: /dev/parport0 is busy"));
  QCOMPARE(h.windows.boxes[0].icon, MessageIcon::Exclamation);
  QVERIFY(h.window.isVisible());

  // Picking a port tries again, and works once the port is free.
  h.port.failing = false;
  pickPort(h, 0);
  QCOMPARE(h.core.cable()->dataPort(), std::uint16_t{0x378});
  QCOMPARE(h.windows.boxes.size(), std::size_t{1});
}

void MainWindowTest::controlsCarryTheirDesignTextsFontsAndTips() {
  MainWindowHarness h;
  const std::pair<const char*, const char*> buttons[] = {{"Command1", "Send File"},
                                                         {"Command2", "Send Register"},
                                                         {"Command3", "Wisp Monitor"},
                                                         {"Command5", "Edit File"},
                                                         {"cmdDumpToFile", "Dump to File"}};
  for (const auto& [name, caption] : buttons) {
    QCOMPARE(h.find<QPushButton>(name)->text(), QString(caption));
  }
  const std::pair<const char*, const char*> labels[] = {{"Label1", "I2C data file:"},
                                                        {"Label2", "Device Address:"},
                                                        {"Label3_0", "Sub Address:"},
                                                        {"Label3_1", "Write Data:"},
                                                        {"Label4", "Delay"},
                                                        {"Label5", "LPT"},
                                                        {"Label6", "Sec"},
                                                        {"Label7", "."},
                                                        {"Label8", "Read Back:"},
                                                        {"Label9", "Line Count:"}};
  for (const auto& [name, caption] : labels) {
    QCOMPARE(h.find<QLabel>(name)->text(), QString(caption));
  }
  const std::pair<const char*, const char*> fields[] = {{"Text2", "42"},
                                                        {"Text3", "00"},
                                                        {"Text4", "00"},
                                                        {"Text5", ""},
                                                        {"txtCnt", "00"},
                                                        {"txtRRead", ""},
                                                        {"txtDmpFile", " Dump.i2c"}};
  for (const auto& [name, text] : fields) QCOMPARE(h.field(name)->text(), QString(text));
  QCOMPARE(h.find<QGroupBox>("Frame1")->title(), QString("Command File"));
  QCOMPARE(h.find<QGroupBox>("Frame2")->title(), QString("Single Register"));
  for (const char* name : {"Text2", "Text3", "Text4"}) {
    QCOMPARE(h.field(name)->maxLength(), 2);
    QCOMPARE(h.field(name)->toolTip(), QString("In Hex"));
  }
  QCOMPARE(h.field("txtCnt")->toolTip(),
           QString("Total data bytes dumped to the file.( In decimal)"));

  const QFont text2 = h.field("Text2")->font();
  QCOMPARE(text2.family(), QString("Liberation Sans"));
  QCOMPARE(text2.pointSizeF(), 9.75);
  QVERIFY(text2.bold());
  QCOMPARE(h.find<QLabel>("lblAck")->font().pointSizeF(), 12.0);
  QVERIFY(h.find<QLabel>("lblAck")->font().bold());
  QVERIFY(h.find<QLabel>("lblAck")->alignment() & Qt::AlignHCenter);
  QCOMPARE(h.find<QListWidget>("ports")->font().pointSizeF(), 12.0);
  QCOMPARE(h.find<QLabel>("Label7")->font().pointSizeF(), 13.5);
  QVERIFY(!h.field("txtDmpFile")->font().bold());
  QVERIFY(!h.find<QGroupBox>("Frame1")->font().bold());

  // Tab order follows the design's tab indices.
  QCOMPARE(nextTabStop(h.field("Text3")), h.field("Text4"));
  QCOMPARE(nextTabStop(h.field("Text4")), h.find<QWidget>("Command2"));
  QCOMPARE(nextTabStop(h.find<QWidget>("ports")), h.field("Text5"));
  QCOMPARE(nextTabStop(h.field("Text2")), h.field("txtCnt"));
  QCOMPARE(nextTabStop(h.field("Text7")), h.field("Text6"));
}

void MainWindowTest::menusCarryTheirCaptionsShortcutsAndCheckMark() {
  MainWindowHarness h;
  QCOMPARE(h.find<QMenu>("mnuFile")->title(), QString("&File"));
  QCOMPARE(h.find<QAction>("mnuFileOpen")->text(), QString("Open"));
  QCOMPARE(h.find<QAction>("mnuFileOpen")->shortcut(), QKeySequence("Ctrl+O"));
  QCOMPARE(h.find<QAction>("mnuFileNew")->text(), QString("New I2C File"));
  QCOMPARE(h.find<QAction>("mnuFileExit")->text(), QString("Exit"));
  QCOMPARE(h.find<QAction>("mnuFileExit")->shortcut(), QKeySequence("Ctrl+X"));
  QVERIFY(h.find<QAction>("mnuFileSp1")->isSeparator());
  QCOMPARE(h.find<QMenu>("Help")->title(), QString("Help"));
  QCOMPARE(h.find<QAction>("zelhelp")->text(), QString("VIDODU Help"));
  QCOMPARE(h.find<QMenu>("docs")->title(), QString("Acrobat Documents"));
  QCOMPARE(h.find<QAction>("bushelp")->text(), QString("IIC Bus Help"));
  QCOMPARE(h.find<QAction>("cable")->text(), QString("Cable Schematic"));
  QCOMPARE(h.find<QMenu>("mnuOption")->title(), QString("Option"));
  QCOMPARE(h.find<QAction>("mnuBeepOn")->text(), QString("Audible"));
  QVERIFY(h.find<QAction>("mnuBeepOn")->isChecked());
}

void MainWindowTest::sendRegisterShowsTheReadBackAndAGreenAck() {
  MainWindowHarness h;
  h.field("Text3")->setText("12");
  h.field("Text4")->setText("80");
  QTest::mouseClick(h.find<QPushButton>("Command2"), Qt::LeftButton);
  QCOMPARE(h.field("txtRRead")->text(), QString("80"));
  auto* ack = h.find<QLabel>("lblAck");
  QVERIFY(!ack->isHidden());
  QCOMPARE(ack->text(), QString("ACK"));
  QCOMPARE(textColour(ack), QColor(0, 255, 0));
  QCOMPARE(h.window.fields().deviceAddress, std::int16_t{0x43});
  QVERIFY(h.windows.boxes.empty());
}

void MainWindowTest::sendRegisterWithoutADeviceShowsARedNoAckAndSixTimeouts() {
  MainWindowHarness h(noDevice());
  QTest::mouseClick(h.find<QPushButton>("Command2"), Qt::LeftButton);
  auto* ack = h.find<QLabel>("lblAck");
  QVERIFY(!ack->isHidden());
  QCOMPARE(ack->text(), QString("NO ACK"));
  QCOMPARE(textColour(ack), QColor(255, 0, 0));
  QCOMPARE(h.field("txtRRead")->text(), QString("FF"));
  QCOMPARE(h.linesStartingWith("Wisp ERR001").size(), std::size_t{3});
  QCOMPARE(h.linesStartingWith("Wisp ERR002").size(), std::size_t{3});
  QCOMPARE(h.windows.beeps, 0);
}

void MainWindowTest::sendRegisterWithTheDebuggerDisabledBeepsSixTimes() {
  MainWindowHarness h(noDevice());
  pickPort(h, 0);
  QCOMPARE(h.core.log().enabled(), false);
  const std::size_t linesBefore = h.lines.size();
  QTest::mouseClick(h.find<QPushButton>("Command2"), Qt::LeftButton);
  QCOMPARE(h.windows.beeps, 6);
  QCOMPARE(h.lines.size(), linesBefore);
}

void MainWindowTest::pickingAPortReopensTheBusThereWithTheDebuggerDisabled() {
  MainWindowHarness h;
  pickPort(h, 1);
  QCOMPARE(h.core.ports().portIndex, std::int16_t{1});
  QCOMPARE(h.core.ports().busOpen, std::int16_t{1});
  QCOMPARE(h.core.cable()->dataPort(), std::uint16_t{0x278});
  QCOMPARE(h.core.log().enabled(), false);
  QCOMPARE(h.linesStartingWith("Wisp SYS002: I2C bus opened on adress 278h").size(),
           std::size_t{1});
  QCOMPARE(h.lines.back(), std::string("Wisp95 V1.01 : debugger  DISABLED                 "));

  // The keyboard picks too.
  QTest::keyClick(h.find<QListWidget>("ports"), Qt::Key_Down);
  QCOMPARE(h.core.ports().portIndex, std::int16_t{2});
  QCOMPARE(h.core.cable()->dataPort(), std::uint16_t{0x3BC});
}

void MainWindowTest::pickingTheCurrentPortAgainReopensIt() {
  MainWindowHarness h;
  pickPort(h, 0);
  h.core.log().setEnabled(true);  // as the debugger window's run mode would
  pickPort(h, 0);
  // The second start closes the bus the first opened, while the debugger is enabled.
  QCOMPARE(h.linesStartingWith("Wisp SYS003 :I2C Bus closed ").size(), std::size_t{2});
  QCOMPARE(h.linesStartingWith("Wisp SYS002: I2C bus opened on adress 378h").size(),
           std::size_t{3});
}

void MainWindowTest::theIndicatorHasThreeStates() {
  MainWindowHarness h;
  auto* ack = h.find<QLabel>("lblAck");
  h.window.updateDeviceMonitor(false);
  QCOMPARE(ack->text(), QString("NO ACK"));
  h.window.initDeviceMonitor();
  QVERIFY(ack->isHidden());
  QCOMPARE(textColour(ack), QColor(128, 128, 128));
  QCOMPARE(ack->text(), QString("NO ACK"));  // a hidden indicator keeps its caption
  h.window.updateDeviceMonitor(true);
  QVERIFY(!ack->isHidden());
  QCOMPARE(ack->text(), QString("ACK"));
  QCOMPARE(textColour(ack), QColor(0, 255, 0));
}

void MainWindowTest::audibleTogglesBeepOn() {
  MainWindowHarness h;
  auto* audible = h.find<QAction>("mnuBeepOn");
  audible->trigger();
  QVERIFY(!audible->isChecked());
  QVERIFY(!h.window.sendOptions().beepOn);
  audible->trigger();
  QVERIFY(audible->isChecked());
  QVERIFY(h.window.sendOptions().beepOn);
}

void MainWindowTest::wispMonitorShowsTheOneDebuggerWindow() {
  MainWindowHarness h;
  QTest::mouseClick(h.find<QPushButton>("Command3"), Qt::LeftButton);
  QTest::mouseClick(h.find<QPushButton>("Command3"), Qt::LeftButton);
  QCOMPARE(h.monitor.showings, 2);
  QVERIFY(h.monitor.exists());
}

// A click handled while the log yields must not put its own transactions on the wires in
// the middle of the running command.
void MainWindowTest::aBusCommandStartedDuringAYieldIsRefused() {
  MainWindowHarness h;
  int nestedClicks = 0;
  h.windows.onYield = [&] {
    if (nestedClicks++ > 0) return;
    QTest::mouseClick(h.find<QPushButton>("Command2"), Qt::LeftButton);
    pickPort(h, 1);
  };
  const std::string start = "Wisp MSG001:  Generating START on bus ";
  const std::size_t startsBefore = h.linesStartingWith(start).size();
  QTest::mouseClick(h.find<QPushButton>("Command2"), Qt::LeftButton);
  QVERIFY(nestedClicks > 0);
  QCOMPARE(h.linesStartingWith(start).size() - startsBefore, std::size_t{3});
  QCOMPARE(h.core.ports().portIndex, std::int16_t{0});
  QVERIFY(h.find<QListWidget>("ports")->selectedItems().isEmpty());
  QCOMPARE(h.window.statusBar()->currentMessage(),
           QString("Port change refused: another bus command is still running"));
  QVERIFY(!h.core.busBusy());

  h.windows.onYield = nullptr;
  QTest::mouseClick(h.find<QPushButton>("Command2"), Qt::LeftButton);
  QCOMPARE(h.linesStartingWith(start).size() - startsBefore, std::size_t{6});
  QVERIFY(h.window.statusBar()->currentMessage().isEmpty());
}

void MainWindowTest::anErrorInAHandlerIsShownAndTheProgramGoesOn() {
  MainWindowHarness h;
  h.port.failing = true;
  QTest::mouseClick(h.find<QPushButton>("Command2"), Qt::LeftButton);
  QCOMPARE(h.windows.boxes.size(), std::size_t{1});
  QCOMPARE(h.windows.boxes[0].text, std::string("68: /dev/parport0 is busy"));
  QCOMPARE(h.windows.boxes[0].icon, MessageIcon::Critical);
  QVERIFY(!h.core.busBusy());

  h.port.failing = false;
  QTest::mouseClick(h.find<QPushButton>("Command2"), Qt::LeftButton);
  QCOMPARE(h.find<QLabel>("lblAck")->text(), QString("ACK"));
  QCOMPARE(h.windows.boxes.size(), std::size_t{1});
}

void MainWindowTest::exitAndClosingEndTheProgram() {
  {
    MainWindowHarness h;
    h.find<QAction>("mnuFileExit")->trigger();
    QCOMPARE(h.programEnds, 1);
  }
  // An ended window holds back every event of the program while it exists.
  MainWindowHarness other;
  other.window.close();
  QCOMPARE(other.programEnds, 1);
}

void MainWindowTest::theBusNoticeShowsInTheStatusLine() {
  MainWindowHarness h;
  h.window.setBusNotice("Simulated bus: camera sensor at 42h");
  QCOMPARE(h.find<QLabel>("busNotice")->text(), QString("Simulated bus: camera sensor at 42h"));
  QVERIFY(h.find<QLabel>("busNotice")->isVisible());
}

// Only a window too small for its scroll bars fails to lay out, and that one stays silent,
// so no test can raise the resize box: its title is checked by its words. The caption is
// the program's name as well.
void MainWindowTest::theCaptionAndTheResizeBoxTitleKeepTheirWords() {
  QCOMPARE(QString(gui::mainwindow::kFormResizeTitle), QString("Form Resize - Error"));
  QCOMPARE(QString(gui::mainwindow::kWindowCaption), QString("Brelvion I2C Debug Tool"));
}

void MainWindowTest::enterPressesTheFocusedButton() {
  MainWindowHarness h;
  h.field("Text3")->setText("12");
  h.field("Text4")->setText("80");
  auto* sendRegister = h.find<QPushButton>("Command2");
  sendRegister->setFocus();
  QTest::keyClick(sendRegister, Qt::Key_Return);
  QCOMPARE(h.field("txtRRead")->text(), QString("80"));
  h.field("Text4")->setText("81");
  QTest::keyClick(sendRegister, Qt::Key_Enter, Qt::KeypadModifier);
  QCOMPARE(h.field("txtRRead")->text(), QString("81"));
}

}  // namespace brelvion::testing

QTEST_MAIN(brelvion::testing::MainWindowTest)
#include "MainWindowTest.moc"
