#include <QAction>
#include <QPushButton>
#include <QStatusBar>
#include <QTest>

#include "FilesHarness.h"

// Send File and Open on bring-up scripts (.i2cs), on the camera sensor at 42h.
namespace brelvion::testing {

using namespace std::chrono_literals;

class MainWindowScriptsTest : public QObject {
  Q_OBJECT

 private slots:
  void openTakesAScriptAndSendFileRunsItWithItsProgress();
  void aScriptWithProblemsIsShownInABoxAndNothingIsSent();
  void aFailedExpectStopsTheScriptWithItsLine();
  void theBusMenuItemLetsAScriptGoOnAfterNoAck();
  void escapeStopsAScriptBetweenCommands();
  void delaysWaitOnTheScriptClock();
};

// Progress lines seen in the yields of a send.
struct ProgressWatch {
  explicit ProgressWatch(MainWindowHarness& h) : h_(h) {
    h.windows.onYield = [this] { seen.push_back(h_.window.statusBar()->currentMessage()); };
  }
  ~ProgressWatch() { h_.windows.onYield = nullptr; }
  std::vector<QString> seen;

 private:
  MainWindowHarness& h_;
};

void MainWindowScriptsTest::openTakesAScriptAndSendFileRunsItWithItsProgress() {
  ScratchCurrentDirectory cwd;
  MainWindowHarness h;
  const std::string file =
      cwd.write("bring-up.i2cs", "; a script\ndevice 42\nwrite 10 33\nmodify 11 0F 05\n"
                                 "expect 10 33\n");
  openFile(h, file);
  QCOMPARE(h.field("Text5")->text().toStdString(), file);
  // A script has no comment-free copy: it is read as it is at each send.
  QVERIFY(!exists(cwd.file("tmpI2C.txt")));
  {
    ProgressWatch watch(h);
    click(h, "Command1");
    QVERIFY(!watch.seen.empty());
    QCOMPARE(watch.seen.front(), QString("Send File: command 1 of 3 (Esc stops)"));
    QCOMPARE(watch.seen.back(), QString("Send File: command 3 of 3 (Esc stops)"));
  }
  QVERIFY(h.windows.boxes.empty());
  QCOMPARE(h.window.statusBar()->currentMessage(), QString("Send File: 3 commands sent"));
  QCOMPARE(readRegister(h, 0x10), 0x33);
  QCOMPARE(readRegister(h, 0x11) & 0x0F, 0x05);
  QVERIFY(h.find<QPushButton>("Command1")->isEnabled());

  // Changed on disk, it is read afresh by the next send.
  cwd.write("bring-up.i2cs", "device 42\nwrite 10 44\n");
  click(h, "Command1");
  QCOMPARE(readRegister(h, 0x10), 0x44);
  QCOMPARE(h.window.statusBar()->currentMessage(), QString("Send File: 1 command sent"));
}

void MainWindowScriptsTest::aScriptWithProblemsIsShownInABoxAndNothingIsSent() {
  ScratchCurrentDirectory cwd;
  MainWindowHarness h;
  const std::string file = cwd.write("bad.i2cs", "device 42\nwrite 10 33\nwrte 10 44\n");
  openFile(h, file);
  const std::size_t before = starts(h);
  click(h, "Command1");
  QCOMPARE(starts(h), before);
  QCOMPARE(h.windows.boxes.size(), std::size_t{1});
  QCOMPARE(h.windows.boxes[0].title, std::string("Send File - Error"));
  QCOMPARE(h.windows.boxes[0].icon, desktop::MessageIcon::Information);
  QCOMPARE(h.windows.boxes[0].text,
           "321: " + file +
               ":3: unknown command 'wrte' (the commands: device, regbits, valbits, write, "
               "delay, modify, poll, expect, read)");
  QVERIFY(h.window.statusBar()->currentMessage().isEmpty());
  QVERIFY(h.find<QPushButton>("Command1")->isEnabled());
}

void MainWindowScriptsTest::aFailedExpectStopsTheScriptWithItsLine() {
  ScratchCurrentDirectory cwd;
  MainWindowHarness h;
  const int untouched = readRegister(h, 0x11);
  const std::string file = cwd.write("id.i2cs", "device 42\nexpect 10 99\nwrite 11 77\n");
  openFile(h, file);
  click(h, "Command1");
  QCOMPARE(h.windows.boxes.size(), std::size_t{1});
  QCOMPARE(h.windows.boxes[0].title, std::string("Send File - Error"));
  const std::string read = numconv::upperHex(static_cast<std::uint64_t>(readRegister(h, 0x10)), 2);
  QCOMPARE(h.windows.boxes[0].text, "5: " + file + ":2: expect 10: read " + read + ", expected 99");
  QCOMPARE(readRegister(h, 0x11), untouched);
}

void MainWindowScriptsTest::theBusMenuItemLetsAScriptGoOnAfterNoAck() {
  ScratchCurrentDirectory cwd;
  MainWindowHarness h;
  auto* keepGoing = h.find<QAction>("mnuBusKeepGoing");
  QVERIFY(keepGoing->isCheckable());
  QVERIFY(!keepGoing->isChecked());
  QCOMPARE(keepGoing->text(), QString("Scripts &Go On after NO ACK"));
  const std::string file = cwd.write("n.i2cs", "device 30\nwrite 00 00\ndevice 42\nwrite 11 77\n");
  openFile(h, file);
  click(h, "Command1");
  QCOMPARE(h.windows.boxes.size(), std::size_t{1});
  QCOMPARE(h.windows.boxes[0].text, "5: " + file + ":2: write 00: not acknowledged by device 30");
  QVERIFY(readRegister(h, 0x11) != 0x77);

  keepGoing->trigger();
  click(h, "Command1");
  QCOMPARE(h.windows.boxes.size(), std::size_t{1});
  QCOMPARE(h.window.statusBar()->currentMessage(),
           QString("Send File: 2 commands sent, 1 not acknowledged"));
  QCOMPARE(readRegister(h, 0x11), 0x77);
}

void MainWindowScriptsTest::escapeStopsAScriptBetweenCommands() {
  ScratchCurrentDirectory cwd;
  MainWindowHarness h;
  const int untouched = readRegister(h, 0x12);
  openFile(h, cwd.write("three.i2cs", "device 42\nwrite 10 01\nwrite 11 02\nwrite 12 03\n"));
  h.field("Text4")->setFocus();
  bool pressed = false;
  h.windows.onYield = [&] {
    if (pressed) return;
    pressed = true;
    QTest::keyClick(h.field("Text4"), Qt::Key_Escape);
  };
  click(h, "Command1");
  h.windows.onYield = nullptr;
  QVERIFY(pressed);
  QCOMPARE(readRegister(h, 0x10), 0x01);
  QCOMPARE(readRegister(h, 0x12), untouched);
  QCOMPARE(h.window.statusBar()->currentMessage(),
           QString("Send File stopped after command 1 of 3"));
}

void MainWindowScriptsTest::delaysWaitOnTheScriptClock() {
  ScratchCurrentDirectory cwd;
  FakeClock scriptClock;
  MainWindowHarness h(sensorAt42(), false,
                      [&](gui::mainwindow::MainWindow& window) { window.setScriptClock(&scriptClock); });
  openFile(h, cwd.write("wait.i2cs", "device 42\nwrite 10 01\ndelay 20\nwrite 10 02\n"));
  click(h, "Command1");
  QCOMPARE(scriptClock.sleeps, std::vector<std::chrono::nanoseconds>{20ms});
  QVERIFY(h.clock.sleeps.empty());
  QCOMPARE(readRegister(h, 0x10), 0x02);
}

}  // namespace brelvion::testing

QTEST_MAIN(brelvion::testing::MainWindowScriptsTest)
#include "MainWindowScriptsTest.moc"
