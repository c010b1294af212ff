#include <QCheckBox>
#include <QLineEdit>
#include <QSpinBox>
#include <QTemporaryDir>
#include <filesystem>

#include "RegisterMapRig.h"

// The register map keeping up with what changes around it: the refresh, the comparison,
// the chip-ID banner, other commands' writes, and Stop on Error in its bulk actions.
namespace brelvion::testing {

namespace {

// What Send Register or Send File does to a device, outside the window: the 16-bit
// register address, then the bytes.
void writeElsewhere(core::ToolCore& core, std::uint8_t device, std::uint32_t reg,
                    std::vector<std::uint8_t> bytes) {
  std::vector<std::uint8_t> message{static_cast<std::uint8_t>(reg >> 8),
                                    static_cast<std::uint8_t>(reg)};
  message.insert(message.end(), bytes.begin(), bytes.end());
  core::ToolCore::BusCommand command(core);
  core.engine().transfer({i2c::I2cMessage{device, false, message}});
}

// The example read whole and saved as base.snap in dir, whose path it returns.
std::string readAndSave(Rig& r, const QTemporaryDir& dir) {
  r.openExample();
  r.click("readAll");
  const std::string base = dir.filePath("base.snap").toStdString();
  r.windows.dialogAnswers.push_back(base);
  r.click("saveSnapshot");
  return base;
}

}  // namespace

class RegisterMapFollowTest : public QObject {
  Q_OBJECT

 private slots:
  void theRefreshLeavesTheValueBeingTypedAlone();
  void aComparisonWithTheLiveValuesFollowsThem();
  void theChipIdBannerBelongsToTheDeviceAndTheReading_data();
  void theChipIdBannerBelongsToTheDeviceAndTheReading();
  void aSnapshotNameWithoutAnExtensionGetsOne();
  void writesOfOtherCommandsMarkTheRows_data();
  void writesOfOtherCommandsMarkTheRows();
  void stopOnErrorShowsOneBoxAndStopsABulkAction_data();
  void stopOnErrorShowsOneBoxAndStopsABulkAction();
};

void RegisterMapFollowTest::theRefreshLeavesTheValueBeingTypedAlone() {
  Rig r;
  r.openExample();
  r.click("readAll");
  auto* view = r.find<QTableView>("registers");
  const QModelIndex cell = r.model()->index(r.rowOf("DIGITAL_GAIN"), kValue);
  view->setCurrentIndex(cell);
  view->edit(cell);
  auto* editor = qobject_cast<QLineEdit*>(view->indexWidget(cell));
  QVERIFY(editor != nullptr);
  editor->selectAll();
  QTest::keyClicks(editor, "0");
  // The sensor changes behind the window; the refresh shows it everywhere but in the editor.
  writeElsewhere(r.core, 0x20, 0x0204, {0x04});
  r.find<QSpinBox>("refreshPeriod")->setValue(50);
  r.find<QCheckBox>("refresh")->setChecked(true);
  QTRY_COMPARE_WITH_TIMEOUT(r.cell("DIGITAL_GAIN", kMark), QString("D C"), 5000);
  QCOMPARE(editor->text(), QString("0"));
  QTest::keyClicks(editor, "8");
  QTest::keyClick(editor, Qt::Key_Return);
  // The delegate commits once the key has been handled.
  QTRY_COMPARE(r.status(), QString("DIGITAL_GAIN (0204) = 08: written and read back"));
  QCOMPARE(r.cell("DIGITAL_GAIN", kValue), QString("08"));
}

void RegisterMapFollowTest::aComparisonWithTheLiveValuesFollowsThem() {
  Rig r;
  QTemporaryDir dir;
  const std::string base = readAndSave(r, dir);
  auto edit = [&](const char* name, const char* value) {
    r.model()->setData(r.model()->index(r.rowOf(name), kValue), value);
  };
  auto* title = r.find<QLabel>("comparisonTitle");
  auto* differences = r.find<QListWidget>("differences");
  edit("EXPOSURE", "0600");
  r.windows.dialogAnswers.push_back(base);
  r.click("compareLive");
  QCOMPARE(listed(differences), QStringList{"0200 EXPOSURE: 03E8 -> 0600"});

  edit("EXPOSURE", "03E8");
  edit("TEST_PATTERN", "02");
  QCOMPARE(title->text(), QString("base.snap -> live values: 1 difference"));
  QCOMPARE(listed(differences), QStringList{"0600 TEST_PATTERN: 00 -> 02"});
  QCOMPARE(r.cell("EXPOSURE", kMark), QString("C"));
  QCOMPARE(r.cell("TEST_PATTERN", kMark), QString("D C S"));

  r.windows.dialogAnswers.push_back(base);
  r.click("writeBack");
  QCOMPARE(title->text(), QString("base.snap -> live values: no differences"));
  QCOMPARE(r.cell("TEST_PATTERN", kMark), QString("C"));

  r.click("compareDefaults");
  edit("MODE_SELECT", "1");
  QCOMPARE(listed(differences), QStringList{"0100 MODE_SELECT: 00 -> 01"});
  r.click("clearComparison");
  edit("MODE_SELECT", "0");
  QCOMPARE(title->text(), QString("No comparison"));
}

void RegisterMapFollowTest::theChipIdBannerBelongsToTheDeviceAndTheReading_data() {
  QTest::addColumn<QString>("device");
  QTest::addColumn<QString>("banner");
  QTest::newRow("another sensor")
      << "42" << "Chip ID 0000 reads 4D72, not B716: this is not the SIM16 camera sensor";
  QTest::newRow("nothing there") << "30"
                                 << "Chip ID: no device acknowledged at 30, so it cannot be told "
                                    "whether it is the SIM16 camera sensor";
}

void RegisterMapFollowTest::theChipIdBannerBelongsToTheDeviceAndTheReading() {
  QFETCH(QString, device);
  QFETCH(QString, banner);
  Rig r;
  r.openExample();
  r.find<QLineEdit>("device")->setText(device);
  QCOMPARE(r.find<QLabel>("chipId")->text(), QString());
  r.click("readAll");
  QCOMPARE(r.find<QLabel>("chipId")->text(), banner);
}

void RegisterMapFollowTest::aSnapshotNameWithoutAnExtensionGetsOne() {
  Rig r;
  r.openExample();
  r.click("readAll");
  QTemporaryDir dir;
  r.windows.dialogAnswers.push_back(dir.filePath("base").toStdString());
  r.click("saveSnapshot");
  QCOMPARE(r.status(), "Saved 18 register values to " + dir.filePath("base.snap"));
  QVERIFY(std::filesystem::exists(dir.filePath("base.snap").toStdString()));
  QVERIFY(!std::filesystem::exists(dir.filePath("base").toStdString()));
}

void RegisterMapFollowTest::writesOfOtherCommandsMarkTheRows_data() {
  QTest::addColumn<bool>("tracing");
  QTest::newRow("debugger off") << false;
  QTest::newRow("debugger on") << true;
}

void RegisterMapFollowTest::writesOfOtherCommandsMarkTheRows() {
  QFETCH(bool, tracing);
  Rig r;
  r.openExample();
  r.click("readAll");
  if (tracing) r.core.log().debuggerOn();
  writeElsewhere(r.core, 0x20, 0x0202, {0x00, 0x77});
  writeElsewhere(r.core, 0x42, 0x0200, {0x11});
  QCOMPARE(r.cell("ANALOG_GAIN", kMark), QString("W"));
  QCOMPARE(r.model()->index(r.rowOf("ANALOG_GAIN"), kMark).data(Qt::ToolTipRole).toString(),
           QString("W: another command wrote 0077 since it was read"));
  QCOMPARE(r.cell("EXPOSURE", kMark), QString(""));
  r.click("readAll");
  QCOMPARE(r.cell("ANALOG_GAIN", kValue), QString("0077"));
  QCOMPARE(r.cell("ANALOG_GAIN", kMark), QString("D C"));
}

void RegisterMapFollowTest::stopOnErrorShowsOneBoxAndStopsABulkAction_data() {
  QTest::addColumn<QString>("action");
  QTest::addColumn<QString>("status");
  QTest::newRow("Read All") << "readAll"
                            << "Read 3 registers in 1 read; 1 not acknowledged; stopped at the error";
  QTest::newRow("refresh") << "refresh" << "Refresh stopped at the error";
  QTest::newRow("Write Snapshot Back") << "writeBack" << "Wrote 1 register back; 1 not acknowledged; "
                                                         "4 values left out (read-only, or no such "
                                                         "register here); stopped at the error";
}

void RegisterMapFollowTest::stopOnErrorShowsOneBoxAndStopsABulkAction() {
  QFETCH(QString, action);
  QFETCH(QString, status);
  Rig r;
  QTemporaryDir dir;
  const std::string base = readAndSave(r, dir);
  r.core.log().debuggerOn();
  r.core.log().debuggerState().stopOnError = true;
  r.find<QLineEdit>("device")->setText("30");
  if (action == "refresh") {
    r.find<QCheckBox>("refresh")->setChecked(true);
    QTRY_VERIFY_WITH_TIMEOUT(!r.find<QCheckBox>("refresh")->isChecked(), 5000);
  } else {
    r.windows.dialogAnswers.push_back(base);
    r.click(action.toStdString().c_str());
  }
  QCOMPARE(r.windows.boxes.size() - (action == "writeBack" ? 1 : 0), std::size_t{1});
  QCOMPARE(r.windows.boxes.back().title, std::string("Wisp Bus Monitor"));
  QCOMPARE(r.status(), status);
}

}  // namespace brelvion::testing

QTEST_MAIN(brelvion::testing::RegisterMapFollowTest)
#include "RegisterMapFollowTest.moc"
