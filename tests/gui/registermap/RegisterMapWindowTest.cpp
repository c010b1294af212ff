#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QSpinBox>
#include <QTableView>
#include <QTableWidget>
#include <QTemporaryDir>
#include <QtTest>
#include <fstream>
#include <iterator>

#include "RegisterMapRig.h"
#include "capture/BusCapture.h"
#include "support/ScratchDirectory.h"

namespace brelvion::testing {

class RegisterMapWindowTest : public QObject {
  Q_OBJECT

 private slots:
  void withoutADescriptionItShowsAPlainRange();
  void aDescriptionOpensWithItsChipIdChecked();
  void aBrokenDescriptionIsReportedAndTheMapStays();
  void readAllFillsTheTableThroughTheEngine();
  void anEditWritesAndTheReadBackSaysWhetherItStuck();
  void aFieldIsEditedByItsNamedValues();
  void theFilterShowsMatchingRegisters();
  void snapshotsSaveCompareAndWriteBack();
  void twoSnapshotsAndTheDefaultsCompareToo();
  void theRefreshReadsOneRunATickAndStepsAsideForOtherCommands();
  void aBusCommandRunningAlreadyRefusesTheWindows();
};

void RegisterMapWindowTest::withoutADescriptionItShowsAPlainRange() {
  Rig r;
  QCOMPARE(r.window.windowTitle(), QString("Register Map"));
  QCOMPARE(r.model()->rowCount(), 256);
  QCOMPARE(r.find<QLabel>("mapName")->text(), QString("Plain range: 256 registers"));
  QCOMPARE(r.find<QLineEdit>("device")->text(), QString("42"));
  QCOMPARE(r.model()->headerData(0, Qt::Horizontal).toString(), QString("Address"));
  QCOMPARE(r.model()->headerData(kMark, Qt::Horizontal).toString(), QString("Mark"));

  r.find<QLineEdit>("device")->setText("20");
  r.find<QComboBox>("registerBits")->setCurrentText("16");
  r.find<QComboBox>("valueBits")->setCurrentText("16");
  r.find<QLineEdit>("first")->setText("0340");
  r.find<QLineEdit>("last")->setText("0343");
  r.click("showRange");
  QCOMPARE(r.model()->rowCount(), 2);
  r.click("readAll");
  QCOMPARE(r.status(), QString("Read 2 registers in 1 read"));
  QCOMPARE(r.model()->index(0, 0).data().toString(), QString("0340"));
  QCOMPARE(r.model()->index(0, kValue).data().toString(), QString("0460"));
  QCOMPARE(r.model()->index(1, kValue).data().toString(), QString("0A00"));

  r.find<QLineEdit>("last")->setText("033F");
  r.click("showRange");
  QCOMPARE(r.status(), QString("Last must come at least one 16-bit register after First"));
  QCOMPARE(r.model()->rowCount(), 2);
}

void RegisterMapWindowTest::aDescriptionOpensWithItsChipIdChecked() {
  Rig r;
  r.openExample();
  QCOMPARE(r.windows.dialogs.back().title, std::string("Open Register Map"));
  QCOMPARE(r.windows.dialogs.back().filter,
           std::string("Register maps (*.yaml *.yml *.csv)|*.yaml *.yml *.csv|All files (*)|*"));
  QCOMPARE(r.model()->rowCount(), 19);
  QCOMPARE(r.find<QLabel>("mapName")->text(),
           QString("SIM16 camera sensor (sim-sensor16.yaml): 19 registers"));
  QCOMPARE(r.find<QLabel>("mapName")->toolTip(), QString::fromStdString(kExample));
  QCOMPARE(r.find<QLineEdit>("device")->text(), QString("20"));
  QVERIFY(!r.find<QComboBox>("registerBits")->isEnabled());
  QCOMPARE(r.find<QLabel>("chipId")->text(),
           QString("Chip ID 0000 reads B716: this is the SIM16 camera sensor"));
  QCOMPARE(r.cell("CHIP_ID", 3), QString("ro"));
  QCOMPARE(r.cell("EXPOSURE", 5), QString("03E8"));
  QCOMPARE(r.model()->index(r.rowOf("EXPOSURE"), 1).data(Qt::ToolTipRole).toString(),
           QString("Exposure in lines."));

  // The same description on other devices: the camera sensor, and nothing.
  r.find<QLineEdit>("device")->setText("42");
  r.click("checkChipId");
  QCOMPARE(r.find<QLabel>("chipId")->text(),
           QString("Chip ID 0000 reads 4D72, not B716: this is not the SIM16 camera sensor"));
  r.find<QLineEdit>("device")->setText("30");
  r.click("checkChipId");
  QCOMPARE(r.find<QLabel>("chipId")->text(), QString("Chip ID: no device acknowledged at 30, so it "
                                                     "cannot be told whether it is the SIM16 "
                                                     "camera sensor"));
  // A plain range has no chip ID to check.
  r.click("showRange");
  QVERIFY(!r.find<QPushButton>("checkChipId")->isEnabled());
  QCOMPARE(r.find<QLabel>("chipId")->text(), QString());
}

void RegisterMapWindowTest::aBrokenDescriptionIsReportedAndTheMapStays() {
  Rig r;
  r.openExample();
  QTemporaryDir dir;
  const QString broken = dir.filePath("broken.yaml");
  std::ofstream(broken.toStdString()) << "device: x\nregisters:\n  - {name: A, address: 1, size: 8}\n";
  r.windows.dialogAnswers.push_back(broken.toStdString());
  r.click("openDescription");
  QCOMPARE(r.windows.boxes.size(), std::size_t{1});
  QCOMPARE(r.windows.boxes[0].title, std::string("Register Map"));
  QCOMPARE(QString::fromStdString(r.windows.boxes[0].text),
           QString::fromStdString("321: " + broken.toStdString() +
               ":3:27: unknown key 'size' in a register (known keys: name, address, width, "
               "access, default, description, fields)"));
  QCOMPARE(r.model()->rowCount(), 19);
  QCOMPARE(r.find<QLabel>("mapName")->text(),
           QString("SIM16 camera sensor (sim-sensor16.yaml): 19 registers"));
}

void RegisterMapWindowTest::readAllFillsTheTableThroughTheEngine() {
  Rig r;
  r.openExample();
  r.core.log().debuggerOn();
  r.lines.clear();
  capture::BusCapture capture;
  r.port.setCapture(&capture);
  r.click("readAll");
  r.port.setCapture(nullptr);
  QCOMPARE(r.status(), QString("Read 18 registers in 7 reads"));
  QCOMPARE(r.cell("CHIP_ID", kValue), QString("B716"));
  QCOMPARE(r.cell("X_ADDR_END", kValue), QString("077F"));
  QCOMPARE(r.cell("SOFTWARE_RESET", kValue), QString(""));
  QCOMPARE(r.cell("EXPOSURE", kMark), QString(""));
  // Seven reads, each a pointer write and a read: fourteen STARTs in the trace.
  const auto starts = std::count_if(r.lines.begin(), r.lines.end(), [](const std::string& line) {
    return line.rfind("Wisp MSG001:", 0) == 0;
  });
  QCOMPARE(starts, 14);
  QVERIFY(capture.samples().size() > 1000);
}

void RegisterMapWindowTest::anEditWritesAndTheReadBackSaysWhetherItStuck() {
  Rig r;
  r.openExample();
  r.click("readAll");
  QVERIFY(r.model()->flags(r.model()->index(r.rowOf("EXPOSURE"), kValue)) & Qt::ItemIsEditable);
  QVERIFY(!(r.model()->flags(r.model()->index(r.rowOf("CHIP_ID"), kValue)) & Qt::ItemIsEditable));
  r.model()->setData(r.model()->index(r.rowOf("EXPOSURE"), kValue), "500");
  QCOMPARE(r.status(), QString("EXPOSURE (0200) = 0500: written and read back"));
  QCOMPARE(r.cell("EXPOSURE", kValue), QString("0500"));
  QCOMPARE(r.cell("EXPOSURE", kMark), QString("D C"));

  r.model()->setData(r.model()->index(r.rowOf("EXPOSURE"), kValue), "12345");
  QCOMPARE(r.status(), QString("EXPOSURE (0200) takes up to 4 hex digits, not '12345'"));

  // A reset leaves the sensor deaf to writes for a while: the read back shows it.
  r.model()->setData(r.model()->index(r.rowOf("SOFTWARE_RESET"), kValue), "1");
  QCOMPARE(r.status(), QString("SOFTWARE_RESET (0103) = 01: written (write-only, so not read back)"));
  QCOMPARE(r.cell("SOFTWARE_RESET", kValue), QString("01"));
  r.model()->setData(r.model()->index(r.rowOf("EXPOSURE"), kValue), "0600");
  QCOMPARE(r.status(),
           QString("EXPOSURE (0200) = 0600: written, but it reads 03E8: the write did not stick"));
  QCOMPARE(r.cell("EXPOSURE", kMark), QString("C !"));
  QCOMPARE(r.model()->index(r.rowOf("EXPOSURE"), kMark).data(Qt::ToolTipRole).toString(),
           QString("C: the last read changed it from 0500\n!: 0600 was written but did not stick"));
  QCOMPARE(r.model()->index(r.rowOf("EXPOSURE"), kValue).data(Qt::ForegroundRole).value<QBrush>().color(),
           QColor(200, 0, 0));
}

void RegisterMapWindowTest::aFieldIsEditedByItsNamedValues() {
  Rig r;
  r.openExample();
  r.click("readAll");
  r.select("TEST_PATTERN");
  auto* fields = r.find<QTableWidget>("fields");
  QCOMPARE(fields->rowCount(), 1);
  QCOMPARE(fields->item(0, 0)->text(), QString("MODE"));
  QCOMPARE(fields->item(0, 1)->text(), QString("2:0"));
  auto* mode = r.find<QComboBox>("field_MODE");
  QCOMPARE(mode->currentText(), QString("0 (off)"));
  QCOMPARE(mode->count(), 5);
  QCOMPARE(mode->itemText(2), QString("2 (colour bars)"));
  mode->setCurrentIndex(2);
  emit mode->activated(2);
  QCOMPARE(r.status(), QString("TEST_PATTERN (0600) = 02: written and read back"));
  QCOMPARE(r.cell("TEST_PATTERN", kValue), QString("02"));
  QCOMPARE(r.find<QComboBox>("field_MODE"), mode);
  QCOMPARE(mode->currentText(), QString("2 (colour bars)"));

  // Two fields of one register: the other keeps its bits.
  r.select("ORIENTATION");
  auto* flip = r.find<QComboBox>("field_V_FLIP");
  emit flip->activated(1);
  auto* mirror = r.find<QComboBox>("field_H_MIRROR");
  emit mirror->activated(1);
  QCOMPARE(r.cell("ORIENTATION", kValue), QString("03"));
  // A read-only register's fields show, but take no edits.
  r.select("STATUS");
  QVERIFY(!r.find<QComboBox>("field_READY")->isEnabled());
  QCOMPARE(r.find<QComboBox>("field_READY")->currentText(), QString("1 (ready)"));
  // Another map, or another filter, takes the fields of the register shown away with it.
  r.find<QLineEdit>("filter")->setText("EXPO");
  QCOMPARE(r.find<QTableWidget>("fields")->rowCount(), 0);
  r.find<QLineEdit>("filter")->clear();
  r.select("ORIENTATION");
  r.click("showRange");
  QCOMPARE(r.find<QTableWidget>("fields")->rowCount(), 0);
}

void RegisterMapWindowTest::theFilterShowsMatchingRegisters() {
  Rig r;
  r.openExample();
  QTest::keyClicks(r.find<QLineEdit>("filter"), "addr");
  QCOMPARE(r.model()->rowCount(), 4);
  QCOMPARE(r.model()->index(0, 1).data().toString(), QString("X_ADDR_START"));
  r.find<QLineEdit>("filter")->setText("02");
  QCOMPARE(r.model()->rowCount(), 3);
  r.find<QLineEdit>("filter")->clear();
  QCOMPARE(r.model()->rowCount(), 19);
}

void RegisterMapWindowTest::snapshotsSaveCompareAndWriteBack() {
  Rig r;
  r.openExample();
  r.click("readAll");
  QTemporaryDir dir;
  const QString base = dir.filePath("base.snap");
  r.windows.dialogAnswers.push_back(base.toStdString());
  r.click("saveSnapshot");
  QCOMPARE(r.windows.dialogs.back().mode, desktop::FileDialogMode::Save);
  QCOMPARE(r.status(), "Saved 18 register values to " + base);
  const std::string saved = readWhole(base.toStdString());
  QCOMPARE(saved.substr(0, saved.find("0000 CHIP_ID")),
           std::string("brelvion-register-snapshot 1\ndevice: SIM16 camera sensor\n"
                       "i2c-address: 20\nregister-bits: 16\nbyte-order: big\n"
                       "time: 2025-03-04 10:22:31 +0100\n\n"));

  r.model()->setData(r.model()->index(r.rowOf("EXPOSURE"), kValue), "0123");
  r.model()->setData(r.model()->index(r.rowOf("TEST_PATTERN"), kValue), "02");
  r.windows.dialogAnswers.push_back(base.toStdString());
  r.click("compareLive");
  QCOMPARE(r.find<QLabel>("comparisonTitle")->text(),
           QString("base.snap -> live values: 2 differences"));
  QCOMPARE(listed(r.find<QListWidget>("differences")),
           (QStringList{"0200 EXPOSURE: 03E8 -> 0123", "0600 TEST_PATTERN: 00 -> 02"}));
  QCOMPARE(r.cell("EXPOSURE", kMark), QString("D C S"));
  QCOMPARE(r.model()->index(r.rowOf("EXPOSURE"), 0).data(Qt::BackgroundRole).value<QBrush>().color(),
           QColor(255, 236, 160));

  r.windows.dialogAnswers.push_back(base.toStdString());
  r.click("writeBack");
  QCOMPARE(r.windows.boxes.back().text,
           std::string("Write 14 registers of base.snap to the device at 20?"));
  QCOMPARE(r.status(), QString("Wrote 14 registers back; 4 values left out (read-only, or no such "
                               "register here), then read all again"));
  QCOMPARE(r.cell("EXPOSURE", kValue), QString("03E8"));
  r.windows.dialogAnswers.push_back(base.toStdString());
  r.click("compareLive");
  QCOMPARE(r.find<QLabel>("comparisonTitle")->text(),
           QString("base.snap -> live values: no differences"));
  QCOMPARE(r.find<QListWidget>("differences")->count(), 0);
  r.click("clearComparison");
  QCOMPARE(r.find<QLabel>("comparisonTitle")->text(), QString("No comparison"));

  // Answered No, nothing is written.
  r.model()->setData(r.model()->index(r.rowOf("EXPOSURE"), kValue), "0123");
  r.windows.answers.push_back(desktop::MessageAnswer::No);
  r.windows.dialogAnswers.push_back(base.toStdString());
  r.click("writeBack");
  QCOMPARE(r.cell("EXPOSURE", kValue), QString("0123"));
}

void RegisterMapWindowTest::twoSnapshotsAndTheDefaultsCompareToo() {
  Rig r;
  r.openExample();
  QTemporaryDir dir;
  r.click("saveSnapshot");
  QCOMPARE(r.status(), QString("Nothing to save: no register has been read yet"));
  QVERIFY(r.windows.dialogs.size() == 1);
  r.click("readAll");
  const QString before = dir.filePath("before.snap");
  r.windows.dialogAnswers.push_back(before.toStdString());
  r.click("saveSnapshot");
  r.model()->setData(r.model()->index(r.rowOf("MODE_SELECT"), kValue), "1");
  const QString after = dir.filePath("after.snap");
  r.windows.dialogAnswers.push_back(after.toStdString());
  r.click("saveSnapshot");
  r.windows.dialogAnswers.push_back(before.toStdString());
  r.windows.dialogAnswers.push_back(after.toStdString());
  r.click("compareSnapshots");
  QCOMPARE(r.find<QLabel>("comparisonTitle")->text(),
           QString("before.snap -> after.snap: 1 difference"));
  QCOMPARE(listed(r.find<QListWidget>("differences")), QStringList{"0100 MODE_SELECT: 00 -> 01"});

  r.click("compareDefaults");
  QCOMPARE(r.find<QLabel>("comparisonTitle")->text(),
           QString("the defaults -> live values: 1 difference"));
  QCOMPARE(listed(r.find<QListWidget>("differences")), QStringList{"0100 MODE_SELECT: 00 -> 01"});
}

void RegisterMapWindowTest::theRefreshReadsOneRunATickAndStepsAsideForOtherCommands() {
  Rig r;
  r.openExample();
  r.model()->setData(r.model()->index(r.rowOf("MODE_SELECT"), kValue), "1");
  r.find<QSpinBox>("refreshPeriod")->setValue(50);
  int transfers = 0;
  r.core.log().debuggerOn();
  r.core.log().setLineListener([&](std::string_view line) {
    if (line.rfind("Wisp MSG001:", 0) == 0) ++transfers;
  });
  r.find<QCheckBox>("refresh")->setChecked(true);
  // Nothing is read before the window's events run.
  QCOMPARE(transfers, 0);
  QCoreApplication::processEvents();
  QCOMPARE(transfers, 2);  // one run: pointer write and read
  QTRY_COMPARE_WITH_TIMEOUT(r.cell("TEST_PATTERN", kValue), QString("00"), 2000);
  QTRY_VERIFY_WITH_TIMEOUT(r.cell("FRAME_COUNT", kValue) != "00" && r.cell("FRAME_COUNT", kMark) == "D C",
                           5000);

  // While another command runs, a tick reads nothing.
  {
    core::ToolCore::BusCommand other(r.core);
    const int before = transfers;
    QTest::qWait(120);
    QCOMPARE(transfers, before);
  }
  r.find<QCheckBox>("refresh")->setChecked(false);
  const int stopped = transfers;
  QTest::qWait(120);
  QCOMPARE(transfers, stopped);
  r.find<QCheckBox>("refresh")->setChecked(true);
  r.window.hide();
  QVERIFY(!r.find<QCheckBox>("refresh")->isChecked());
}

void RegisterMapWindowTest::aBusCommandRunningAlreadyRefusesTheWindows() {
  Rig r;
  r.openExample();
  core::ToolCore::BusCommand other(r.core);
  r.click("readAll");
  QCOMPARE(r.status(), QString("Read All refused: another bus command is still running"));
  QCOMPARE(r.cell("CHIP_ID", kValue), QString(""));
}

}  // namespace brelvion::testing

QTEST_MAIN(brelvion::testing::RegisterMapWindowTest)
#include "RegisterMapWindowTest.moc"
