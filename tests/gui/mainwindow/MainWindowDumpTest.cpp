#include <QLabel>
#include <QPushButton>
#include <QStatusBar>
#include <QTest>

#include "FilesHarness.h"

namespace brelvion::testing {

using desktop::MessageAnswer;
using desktop::MessageIcon;

class MainWindowDumpTest : public QObject {
  Q_OBJECT

 private slots:
  void dumpQuestionsAnsweredNoPutTheFocusBack();
  void dumpWithoutAFileNameSaysSo();
  void dumpWritesTheRegistersInTheCommandFileFormat();
  void aBadLineCountIsReportedAsADumpError();
  void aDumpSentBackRestoresEveryRegister();
};

void MainWindowDumpTest::dumpQuestionsAnsweredNoPutTheFocusBack() {
  ScratchCurrentDirectory cwd;
  MainWindowHarness h;
  QVERIFY(activate(h));
  const std::size_t before = starts(h);
  h.field("Text2")->setText("00");
  h.windows.answers = {MessageAnswer::No};
  dump(h, "5", " Dump.i2c");
  QCOMPARE(h.windows.boxes.size(), std::size_t{1});
  QCOMPARE(h.windows.boxes[0].text, std::string("Device address is 0?"));
  QCOMPARE(h.windows.boxes[0].buttons, desktop::MessageButtons::YesNo);
  QCOMPARE(h.windows.boxes[0].icon, MessageIcon::None);
  QCOMPARE(h.windows.boxes[0].title, std::string());
  QCOMPARE(QApplication::focusWidget(), static_cast<QWidget*>(h.field("Text2")));

  h.field("Text2")->setText("42");
  h.windows.answers = {MessageAnswer::No};
  dump(h, "00", " Dump.i2c");
  QCOMPARE(h.windows.boxes.size(), std::size_t{2});
  QCOMPARE(h.windows.boxes[1].text, std::string("Count is 0?"));
  QCOMPARE(QApplication::focusWidget(), static_cast<QWidget*>(h.field("txtCnt")));
  QCOMPARE(starts(h), before);
  QVERIFY(!exists(cwd.file("Dump.i2c")));

  // Yes to "Count is 0?" dumps register 0 alone.
  dump(h, "00", " Dump.i2c");
  QCOMPARE(readWhole(cwd.file("Dump.i2c")),
           "43  0  " + QString::number(readRegister(h, 0), 16).toUpper().toStdString() + "\r\n");
}

void MainWindowDumpTest::dumpWithoutAFileNameSaysSo() {
  ScratchCurrentDirectory cwd;
  MainWindowHarness h;
  const std::size_t before = starts(h);
  dump(h, "3", "");
  QCOMPARE(h.windows.boxes.size(), std::size_t{1});
  QCOMPARE(h.windows.boxes[0].text, std::string("Fill up the file name to dump, please"));
  QCOMPARE(h.windows.boxes[0].title, std::string("Dump To File"));
  QCOMPARE(h.windows.boxes[0].icon, MessageIcon::Information);
  QCOMPARE(starts(h), before);
  QVERIFY(QDir(QDir::currentPath()).entryList(QDir::Files).isEmpty());
}

void MainWindowDumpTest::dumpWritesTheRegistersInTheCommandFileFormat() {
  ScratchCurrentDirectory cwd;
  MainWindowHarness h;
  std::string expected;
  for (int reg = 0; reg <= 0x11; ++reg) {
    expected += "43  " + QString::number(reg, 16).toUpper().toStdString() + "  " +
                QString::number(readRegister(h, reg), 16).toUpper().toStdString() + "\r\n";
  }
  h.field("Text2")->setText("43");
  // The dump lets events run only while the trace drops its oldest lines.
  QString running;
  h.windows.onYield = [&] {
    if (running.isEmpty()) running = h.window.statusBar()->currentMessage();
  };
  dump(h, "17", "  regs.i2c ");
  h.windows.onYield = nullptr;
  QCOMPARE(running, QString("Dump to File: reading registers 0 to 17"));
  QCOMPARE(readWhole(cwd.file("regs.i2c")), expected);
  QVERIFY(h.windows.boxes.empty());
  QVERIFY(h.find<QPushButton>("cmdDumpToFile")->isEnabled());
  QVERIFY(h.find<QLabel>("lblAck")->isHidden());
  QCOMPARE(h.window.statusBar()->currentMessage(),
           QString("Dump to File: 18 registers written to regs.i2c"));
  QCOMPARE(h.window.fields().deviceAddress, std::int16_t{0x43});
  QCOMPARE(QApplication::overrideCursor(), nullptr);
}

void MainWindowDumpTest::aBadLineCountIsReportedAsADumpError() {
  ScratchCurrentDirectory cwd;
  MainWindowHarness h;
  dump(h, "x", " Dump.i2c");
  dump(h, "40000", " Dump.i2c");
  dump(h, "-1", " Dump.i2c");
  QCOMPARE(h.windows.boxes.size(), std::size_t{3});
  QCOMPARE(h.windows.boxes[0].text, std::string("13: Type mismatch"));
  QCOMPARE(h.windows.boxes[1].text, std::string("6: Overflow"));
  for (const auto& box : h.windows.boxes) {
    QCOMPARE(box.title, std::string("Dump To File - Error"));
    QCOMPARE(box.icon, MessageIcon::Information);
  }
  QVERIFY(!exists(cwd.file("Dump.i2c")));
}

// The dump of every register, sent back after the sensor was changed, restores it.
void MainWindowDumpTest::aDumpSentBackRestoresEveryRegister() {
  ScratchCurrentDirectory cwd;
  MainWindowHarness h;
  dump(h, "255", "before.i2c");
  QCOMPARE(h.windows.boxes.size(), std::size_t{0});

  for (const char* reg : {"00", "10", "7F", "C4", "FF"}) {
    h.field("Text3")->setText(reg);
    h.field("Text4")->setText("99");
    click(h, "Command2");
  }
  dump(h, "255", "changed.i2c");
  QVERIFY(readWhole(cwd.file("changed.i2c")) != readWhole(cwd.file("before.i2c")));

  openFile(h, cwd.file("before.i2c"));
  click(h, "Command1");
  QVERIFY(h.window.statusBar()->currentMessage().startsWith("Send File: 256 writes sent"));
  dump(h, "255", "after.i2c");
  QCOMPARE(readWhole(cwd.file("after.i2c")), readWhole(cwd.file("before.i2c")));
  QVERIFY(h.windows.boxes.empty());
}

}  // namespace brelvion::testing

QTEST_MAIN(brelvion::testing::MainWindowDumpTest)
#include "MainWindowDumpTest.moc"
