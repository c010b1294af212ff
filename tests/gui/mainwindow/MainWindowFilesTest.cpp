#include <QAction>
#include <QLabel>
#include <QPushButton>
#include <QStatusBar>
#include <QTest>
#include <cstdio>

#include "FilesHarness.h"

namespace brelvion::testing {

using desktop::MessageIcon;

class MainWindowFilesTest : public QObject {
  Q_OBJECT

 private slots:
  void sendFileBeforeAnyOpenRunsOpenAndSendsNothing();
  void openCopiesTheFileWithoutCommentsAndShowsItsPath();
  void openCancelledKeepsTheEarlierChoice();
  void sendFileWritesTheRegistersAndShowsItsProgress();
  void escapeStopsTheSendAfterTheCurrentWrite();
  void aLongDelayKeepsTheWindowAnsweringAndEscapeEndsIt();
  void otherBusCommandsRunBetweenTheWritesOfASend();
  void theSendCountsTheWritesNobodyAcknowledged();
  void aSendThatFailsIsReportedAndTheButtonComesBack();
  void editFileAsksForAFileFirstAndEditsExactlyIt();
  void anEditedFileIsReadAfreshOnEverySend();
  void noEditorIsReportedLikeNewI2cFile();
  void exitRemovesTheCopyAndNoFurtherEventRuns();
  void exitDuringASendEndsItAfterTheCurrentWrite();
  void helpEntriesFindTheirDocumentsOrSaySo();
};

void MainWindowFilesTest::sendFileBeforeAnyOpenRunsOpenAndSendsNothing() {
  ScratchCurrentDirectory cwd;
  MainWindowHarness h;
  const std::size_t before = starts(h);
  click(h, "Command1");
  QCOMPARE(h.windows.dialogs.size(), std::size_t{1});
  QCOMPARE(h.windows.dialogs[0].title, std::string("Open"));
  QCOMPARE(
      h.windows.dialogs[0].filter,
      std::string("I2C File (*.i2c)|*.i2c|All I2C files|*.i2c;*.i2cs|I2C Script (*.i2cs)|*.i2cs"));
  QCOMPARE(h.windows.dialogs[0].mode, desktop::FileDialogMode::Open);
  QCOMPARE(starts(h), before);
  QVERIFY(h.field("Text5")->text().isEmpty());
  QVERIFY(h.core.values().sendFileName.empty());
  QVERIFY(h.find<QPushButton>("Command1")->isEnabled());
  QVERIFY(h.windows.boxes.empty());

  // Chosen now, it is prepared but not sent; the next press sends it.
  const std::string file = cwd.write("one.i2c", "42 10 33\r\n");
  h.windows.dialogAnswers.push_back(file);
  click(h, "Command1");
  QCOMPARE(starts(h), before);
  QCOMPARE(h.field("Text5")->text().toStdString(), file);
  click(h, "Command1");
  QCOMPARE(readRegister(h, 0x10), 0x33);
}

void MainWindowFilesTest::openCopiesTheFileWithoutCommentsAndShowsItsPath() {
  ScratchCurrentDirectory cwd;
  MainWindowHarness h;
  const std::string file =
      cwd.write("init.i2c", "; start-up of the sensor\r\n   42 12 5 ; face\r\n42 11 01\r\n");
  openFile(h, file);
  QCOMPARE(h.field("Text5")->text().toStdString(), file);
  QCOMPARE(h.core.values().sendFileName, std::string("tmpI2C.txt"));
  QCOMPARE(readWhole(cwd.file("tmpI2C.txt")), std::string("42 12 5 \r\n42 11 01\r\n"));
  QVERIFY(h.windows.boxes.empty());

  // A second file replaces the copy.
  openFile(h, cwd.write("other.i2c", "42 20 AA\r\n"));
  QCOMPARE(readWhole(cwd.file("tmpI2C.txt")), std::string("42 20 AA\r\n"));

  // A file that cannot be read is reported by the copy step, which leaves no old writes.
  openFile(h, cwd.file("missing.i2c"));
  QCOMPARE(h.windows.boxes.size(), std::size_t{1});
  QCOMPARE(h.windows.boxes[0].title, std::string("Create tmpFile - Error"));
  QCOMPARE(h.windows.boxes[0].icon, MessageIcon::Exclamation);
  QVERIFY(h.windows.boxes[0].text.rfind("53: ", 0) == 0);
  QCOMPARE(readWhole(cwd.file("tmpI2C.txt")), std::string());
}

void MainWindowFilesTest::openCancelledKeepsTheEarlierChoice() {
  ScratchCurrentDirectory cwd;
  MainWindowHarness h;
  h.find<QAction>("mnuFileOpen")->trigger();
  QVERIFY(h.field("Text5")->text().isEmpty());
  QVERIFY(h.core.values().sendFileName.empty());
  QVERIFY(!exists(cwd.file("tmpI2C.txt")));

  const std::string file = cwd.write("a.i2c", "42 10 01\r\n");
  openFile(h, file);
  // Changed on disk, then Open cancelled: the dialog still names the earlier file, so its
  // copy is made afresh rather than left deleted.
  cwd.write("a.i2c", "42 10 02\r\n");
  h.find<QAction>("mnuFileOpen")->trigger();
  QCOMPARE(h.field("Text5")->text().toStdString(), file);
  QCOMPARE(readWhole(cwd.file("tmpI2C.txt")), std::string("42 10 02\r\n"));
  QVERIFY(h.windows.boxes.empty());
}

void MainWindowFilesTest::sendFileWritesTheRegistersAndShowsItsProgress() {
  ScratchCurrentDirectory cwd;
  MainWindowHarness h;
  openFile(h, cwd.write("two.i2c", "42 10 5A\r\n42 11 A5 ; second\r\n"));
  QStringList seen;
  bool buttonDisabled = true;
  h.windows.onYield = [&] {
    seen << h.window.statusBar()->currentMessage();
    buttonDisabled = buttonDisabled && !h.find<QPushButton>("Command1")->isEnabled();
  };
  click(h, "Command1");
  h.windows.onYield = nullptr;

  QCOMPARE(readRegister(h, 0x10), 0x5A);
  QCOMPARE(readRegister(h, 0x11), 0xA5);
  QVERIFY(seen.contains("Send File: write 1 of 2 (Esc stops)"));
  QVERIFY(seen.contains("Send File: write 2 of 2 (Esc stops)"));
  QVERIFY(buttonDisabled);
  QVERIFY(h.find<QPushButton>("Command1")->isEnabled());
  QVERIFY(h.find<QLabel>("lblAck")->isHidden());
  QCOMPARE(h.window.statusBar()->currentMessage(), QString("Send File: 2 writes sent"));
  QCOMPARE(h.windows.beeps, 2);
  QVERIFY(h.windows.boxes.empty());
  // Each write is followed by the fixed pause, on the window's clock.
  QVERIFY(h.clock.time >= std::chrono::milliseconds(200));
}

void MainWindowFilesTest::escapeStopsTheSendAfterTheCurrentWrite() {
  ScratchCurrentDirectory cwd;
  MainWindowHarness h;
  openFile(h, cwd.write("five.i2c", "42 10 01\n42 11 02\n42 12 03\n42 13 04\n42 14 05\n"));
  const int untouched = readRegister(h, 0x11);
  h.field("Text4")->setFocus();
  bool pressed = false;
  QString stopping;
  h.windows.onYield = [&] {
    if (pressed) return;
    pressed = true;
    QTest::keyClick(h.field("Text4"), Qt::Key_Escape);
    stopping = h.window.statusBar()->currentMessage();
  };
  click(h, "Command1");
  h.windows.onYield = nullptr;
  QVERIFY(pressed);
  QCOMPARE(stopping, QString("Send File: stopping after this write"));
  QCOMPARE(readRegister(h, 0x10), 0x01);
  QCOMPARE(readRegister(h, 0x11), untouched);
  QCOMPARE(h.window.statusBar()->currentMessage(), QString("Send File stopped after write 1 of 5"));
  QVERIFY(h.find<QPushButton>("Command1")->isEnabled());

  // Escape outside a send stops nothing; the next send runs to its end.
  QTest::keyClick(h.field("Text4"), Qt::Key_Escape);
  click(h, "Command1");
  QCOMPARE(readRegister(h, 0x14), 0x05);
}

// Through the pause after each write events run at least every 50 ms, so a click or
// Escape is seen at once, and the pause lasts what it always did.
void MainWindowFilesTest::aLongDelayKeepsTheWindowAnsweringAndEscapeEndsIt() {
  using std::chrono::milliseconds;
  ScratchCurrentDirectory cwd;
  MainWindowHarness h;
  h.field("Text6")->setText("3");
  QCOMPARE(h.window.sendOptions().commandDelay, 3.0);
  openFile(h, cwd.write("six.i2c", "42 10 01\n42 11 02\n42 12 03\n42 13 04\n42 14 05\n42 15 06\n"));
  const auto started = h.clock.time;
  const int yieldsBefore = h.windows.yields;
  click(h, "Command1");
  QCOMPARE(readRegister(h, 0x15), 0x06);
  const auto waited = h.clock.time - started;
  QVERIFY(waited >= 6 * milliseconds(3100) - milliseconds(1));
  QVERIFY(waited <= 6 * milliseconds(3100) + milliseconds(1));
  for (const std::chrono::nanoseconds sleep : h.clock.sleeps) QVERIFY(sleep <= milliseconds(50));
  QVERIFY(h.windows.yields - yieldsBefore >= 6 * 3100 / 50);

  // Escape in the middle of the first pause ends the send there, without waiting it out.
  h.field("Text4")->setFocus();
  const auto second = h.clock.time;
  std::chrono::nanoseconds pressedAt{-1};
  h.windows.onYield = [&] {
    if (pressedAt.count() >= 0 || h.clock.time - second < milliseconds(1000)) return;
    QTest::keyClick(h.field("Text4"), Qt::Key_Escape);
    pressedAt = h.clock.time;
  };
  click(h, "Command1");
  h.windows.onYield = nullptr;
  QVERIFY(pressedAt.count() >= 0);
  QCOMPARE(h.clock.time, pressedAt);
  QCOMPARE(h.window.statusBar()->currentMessage(), QString("Send File stopped after write 1 of 6"));
}

// Between two writes the bus is idle: Send Register, Dump to File and a port choice made
// there run at once, as pending events, and the send goes on after them.
void MainWindowFilesTest::otherBusCommandsRunBetweenTheWritesOfASend() {
  ScratchCurrentDirectory cwd;
  MainWindowHarness h;
  openFile(h, cwd.write("three.i2c", "42 10 01\n42 11 02\n42 12 03\n"));
  int yields = 0;
  h.windows.onYield = [&] {
    if (++yields != 1) return;
    h.field("Text3")->setText("20");
    h.field("Text4")->setText("77");
    click(h, "Command2");
    dump(h, "18", "during.i2c");
    pickPort(h, 0);
  };
  click(h, "Command1");
  h.windows.onYield = nullptr;

  QCOMPARE(readRegister(h, 0x20), 0x77);
  QCOMPARE(h.field("txtRRead")->text(), QString("77"));
  // The dump saw the first write and none of the later ones.
  const std::string dumped = readWhole(cwd.file("during.i2c"));
  QVERIFY(dumped.find("43  10  1\r\n") != std::string::npos);
  QVERIFY(dumped.find("43  11  2\r\n") == std::string::npos);
  QCOMPARE(readRegister(h, 0x12), 0x03);
  QCOMPARE(h.window.statusBar()->currentMessage(), QString("Send File: 3 writes sent"));
  QVERIFY(h.windows.boxes.empty());
  QVERIFY(!h.core.busBusy());
}

void MainWindowFilesTest::theSendCountsTheWritesNobodyAcknowledged() {
  ScratchCurrentDirectory cwd;
  MainWindowHarness h;
  openFile(h, cwd.write("one.i2c", "60 10 01\r\n"));
  click(h, "Command1");
  QCOMPARE(h.window.statusBar()->currentMessage(),
           QString("Send File: 1 write sent, 1 not acknowledged"));

  openFile(h, cwd.write("three.i2c", "60 10 01\r\n42 10 02\r\n60 11 03\r\n"));
  click(h, "Command1");
  QCOMPARE(h.window.statusBar()->currentMessage(),
           QString("Send File: 3 writes sent, 2 not acknowledged"));
}

void MainWindowFilesTest::aSendThatFailsIsReportedAndTheButtonComesBack() {
  ScratchCurrentDirectory cwd;
  MainWindowHarness h;
  openFile(h, cwd.write("a.i2c", "42 10 01\r\n"));
  std::remove(cwd.file("tmpI2C.txt").c_str());
  click(h, "Command1");
  QCOMPARE(h.windows.boxes.size(), std::size_t{1});
  QVERIFY(h.windows.boxes[0].text.rfind("53: ", 0) == 0);
  QVERIFY(h.windows.boxes[0].text.find("tmpI2C.txt") != std::string::npos);
  QCOMPARE(h.windows.boxes[0].icon, MessageIcon::Information);
  QCOMPARE(h.windows.boxes[0].title, std::string());
  QVERIFY(h.find<QPushButton>("Command1")->isEnabled());
  QVERIFY(h.find<QLabel>("lblAck")->isHidden());
  QVERIFY(h.window.statusBar()->currentMessage().isEmpty());
}

void MainWindowFilesTest::editFileAsksForAFileFirstAndEditsExactlyIt() {
  ScratchCurrentDirectory cwd;
  MainWindowHarness h;
  click(h, "Command5");
  QCOMPARE(h.windows.dialogs.size(), std::size_t{1});
  QVERIFY(h.windows.editorFiles.empty());
  QVERIFY(!h.core.values().fileEdited);

  const std::string file = cwd.write("my file.i2c", "42 10 01\r\n");
  h.windows.dialogAnswers.push_back(file);
  click(h, "Command5");
  QCOMPARE(h.windows.editorFiles, std::vector<std::string>{file});
  QVERIFY(h.core.values().fileEdited);

  // With a file in the field no dialog comes first.
  click(h, "Command5");
  QCOMPARE(h.windows.dialogs.size(), std::size_t{2});
  QCOMPARE(h.windows.editorFiles.size(), std::size_t{2});
}

void MainWindowFilesTest::anEditedFileIsReadAfreshOnEverySend() {
  ScratchCurrentDirectory cwd;
  MainWindowHarness h;
  const std::string file = cwd.write("edit.i2c", "42 10 11\r\n");
  openFile(h, file);
  click(h, "Command5");
  cwd.write("edit.i2c", "42 10 22 ; saved in the editor\r\n");
  click(h, "Command1");
  QCOMPARE(readRegister(h, 0x10), 0x22);
  cwd.write("edit.i2c", "42 10 33\r\n");
  click(h, "Command1");
  QCOMPARE(readRegister(h, 0x10), 0x33);
  QCOMPARE(h.field("Text5")->text().toStdString(), file);
}

void MainWindowFilesTest::noEditorIsReportedLikeNewI2cFile() {
  ScratchCurrentDirectory cwd;
  MainWindowHarness h;
  h.windows.startError = "No text editor was found to open a file";
  h.find<QAction>("mnuFileNew")->trigger();
  QCOMPARE(h.windows.editorFiles, std::vector<std::string>{""});
  QCOMPARE(h.windows.boxes.size(), std::size_t{1});
  QCOMPARE(h.windows.boxes[0].text,
           std::string("Error Code 53: No text editor was found to open a file"));
  QCOMPARE(h.windows.boxes[0].icon, MessageIcon::Exclamation);
  QCOMPARE(h.windows.boxes[0].title, std::string());

  openFile(h, cwd.write("x.i2c", "42 10 01\r\n"));
  click(h, "Command5");
  QCOMPARE(h.windows.boxes.size(), std::size_t{2});
  QCOMPARE(h.windows.boxes[1].text, h.windows.boxes[0].text);
  QVERIFY(!h.core.values().fileEdited);
}

void MainWindowFilesTest::exitRemovesTheCopyAndNoFurtherEventRuns() {
  ScratchCurrentDirectory cwd;
  QPushButton otherWindow("Stands in for the debugger window");
  otherWindow.show();
  int otherClicks = 0;
  QObject::connect(&otherWindow, &QPushButton::clicked, [&] { ++otherClicks; });
  {
    MainWindowHarness h;
    openFile(h, cwd.write("a.i2c", "42 10 01\r\n"));
    QVERIFY(exists(cwd.file("tmpI2C.txt")));
    const std::size_t before = starts(h);
    QVERIFY(activate(h));
    h.field("Text2")->setFocus();
    h.field("Text2")->selectAll();
    QTest::keyClick(h.field("Text2"), Qt::Key_X, Qt::ControlModifier);
    QCOMPARE(h.programEnds, 1);
    QCOMPARE(h.field("Text2")->text(), QString("42"));
    QVERIFY(!exists(cwd.file("tmpI2C.txt")));
    QVERIFY(h.windows.boxes.empty());

    click(h, "Command2");
    QTest::mouseClick(&otherWindow, Qt::LeftButton);
    h.find<QAction>("mnuFileExit")->trigger();
    h.window.close();
    QCOMPARE(starts(h), before);
    QCOMPARE(otherClicks, 0);
    QCOMPARE(h.programEnds, 1);
  }
  // Once the window is gone the rest of the program hears its events again.
  QTest::mouseClick(&otherWindow, Qt::LeftButton);
  QCOMPARE(otherClicks, 1);

  // Closing through the frame, with no copy on disk, ends the program without a word.
  MainWindowHarness other;
  other.window.close();
  QCOMPARE(other.programEnds, 1);
  QVERIFY(other.windows.boxes.empty());
}

void MainWindowFilesTest::exitDuringASendEndsItAfterTheCurrentWrite() {
  ScratchCurrentDirectory cwd;
  MainWindowHarness h;
  openFile(h, cwd.write("three.i2c", "42 10 01\n42 11 02\n42 12 03\n"));
  const int untouched = readRegister(h, 0x11);
  bool exited = false;
  h.windows.onYield = [&] {
    if (exited) return;
    exited = true;
    h.find<QAction>("mnuFileExit")->trigger();
  };
  click(h, "Command1");
  h.windows.onYield = nullptr;
  QCOMPARE(h.programEnds, 1);
  QVERIFY(!exists(cwd.file("tmpI2C.txt")));
  QCOMPARE(readRegister(h, 0x10), 0x01);
  QCOMPARE(readRegister(h, 0x11), untouched);
}

void MainWindowFilesTest::helpEntriesFindTheirDocumentsOrSaySo() {
  ScratchCurrentDirectory cwd;
  MainWindowHarness h;
  for (const char* entry : {"zelhelp", "bushelp", "cable"}) h.find<QAction>(entry)->trigger();
  QCOMPARE(h.windows.boxes.size(), std::size_t{3});
  for (const auto& box : h.windows.boxes) {
    QCOMPARE(box.text, std::string("53: File not found"));
    QCOMPARE(box.icon, MessageIcon::Information);
    QCOMPARE(box.title, std::string());
  }
  QVERIFY(h.windows.editorFiles.empty());
  QVERIFY(h.windows.documents.empty());

  cwd.write("readme.txt", "help\n");
  cwd.write("I2cbus.pdf", "%PDF-1.4\n");
  cwd.write("Cable.pdf", "%PDF-1.4\n");
  for (const char* entry : {"zelhelp", "bushelp", "cable"}) h.find<QAction>(entry)->trigger();
  QCOMPARE(h.windows.editorFiles, std::vector<std::string>{"readme.txt"});
  QCOMPARE(h.windows.documents, (std::vector<std::string>{"I2cbus.pdf", "Cable.pdf"}));
  QCOMPARE(h.windows.boxes.size(), std::size_t{3});

  h.windows.documentError = "No program was found to show Cable.pdf";
  h.find<QAction>("cable")->trigger();
  QCOMPARE(h.windows.boxes.back().text, std::string("53: No program was found to show Cable.pdf"));
  QCOMPARE(h.windows.boxes.back().icon, MessageIcon::Information);

  // With no editor on the machine the help shows read-only instead.
  h.windows.boxes.clear();
  h.windows.editorFound = false;
  h.find<QAction>("zelhelp")->trigger();
  QCOMPARE(h.windows.textWindows, std::vector<std::string>{"readme.txt"});
  QCOMPARE(h.windows.editorFiles.size(), std::size_t{1});
  QVERIFY(h.windows.boxes.empty());
  h.windows.textWindowError = "Cannot read readme.txt: Permission denied";
  h.find<QAction>("zelhelp")->trigger();
  QCOMPARE(h.windows.boxes.size(), std::size_t{1});
  QCOMPARE(h.windows.boxes[0].text,
           std::string("Error Code 53: Cannot read readme.txt: Permission denied"));
}

}  // namespace brelvion::testing

QTEST_MAIN(brelvion::testing::MainWindowFilesTest)
#include "MainWindowFilesTest.moc"
