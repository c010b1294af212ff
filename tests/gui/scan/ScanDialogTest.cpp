#include <QCheckBox>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QSignalSpy>
#include <QTableWidget>
#include <QTest>

#include "gui/scan/ScanDialog.h"

namespace brelvion::gui::scan {

class ScanDialogTest : public QObject {
  Q_OBJECT

 private slots:
  void theGridFollowsTheLabelsAndOnlyAnAnsweredCellIsChosen();
  void sdaHeldLowLeavesNothingToChoose();
};

void ScanDialogTest::theGridFollowsTheLabelsAndOnlyAnAnsweredCellIsChosen() {
  ScanDialog dialog;
  dialog.showOutcome({false, {0x00, 0xFE}}, bus::kFullScanRange);
  auto* grid = dialog.findChild<QTableWidget*>("scanGrid");
  QCOMPARE(grid->item(0, 0)->text(), QString("00"));
  QCOMPARE(grid->item(7, 15)->text(), QString("FE"));
  QCOMPARE(grid->horizontalHeaderItem(15)->text(), QString("1E"));
  QCOMPARE(grid->verticalHeaderItem(7)->text(), QString("E0"));
  dialog.findChild<QCheckBox*>("scanSevenBit")->setChecked(true);
  QCOMPARE(grid->item(7, 15)->text(), QString("7F"));
  QCOMPARE(grid->horizontalHeaderItem(15)->text(), QString("F"));
  QCOMPARE(dialog.findChild<QLabel*>("scanSummary")->text(), QString("2 devices answered: 00, 7F"));

  QSignalSpy chosen(&dialog, &ScanDialog::addressChosen);
  emit grid->cellDoubleClicked(3, 3);
  QCOMPARE(chosen.count(), 0);
  emit grid->cellDoubleClicked(7, 15);
  QCOMPARE(chosen.count(), 1);
  QCOMPARE(chosen[0][0].value<std::uint8_t>(), std::uint8_t{0xFE});

  QSignalSpy rescan(&dialog, &ScanDialog::rescanRequested);
  QTest::mouseClick(dialog.findChild<QPushButton*>("scanAgain"), Qt::LeftButton);
  QCOMPARE(rescan.count(), 1);
}

void ScanDialogTest::sdaHeldLowLeavesNothingToChoose() {
  ScanDialog dialog;
  dialog.showOutcome({true, {}});
  auto* grid = dialog.findChild<QTableWidget*>("scanGrid");
  QVERIFY(!grid->isEnabled());
  QCOMPARE(dialog.findChild<QLabel*>("scanSummary")->text().toStdString(),
           std::string(bus::kSdaHeldLowText));
  QCOMPARE(grid->item(2, 1)->text(), QString(""));
}

}  // namespace brelvion::gui::scan

QTEST_MAIN(brelvion::gui::scan::ScanDialogTest)
#include "ScanDialogTest.moc"
