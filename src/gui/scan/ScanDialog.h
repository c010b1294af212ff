#pragma once

#include <QDialog>
#include <cstdint>

#include "bus/BusScan.h"
#include "bus/ScanTable.h"

class QCheckBox;
class QLabel;
class QPushButton;
class QTableWidget;

namespace brelvion::gui::scan {

inline constexpr const char* kScanDialogTitle = "Bus Scan";
inline constexpr const char* kScanChooseHint =
    "Double-click an address to put it into Device Address.";

// The outcome of a bus scan in i2cdetect's grid (bus/ScanTable.h decides every text):
// 8-bit write addresses, or 7-bit ones while "7-bit addresses" is checked. A double-click
// on an address that answered, or Enter on it, chooses it; "Scan Again" asks for a new
// scan. Control names: scanGrid, scanSevenBit, scanSummary, scanHint, scanAgain.
class ScanDialog : public QDialog {
  Q_OBJECT

 public:
  explicit ScanDialog(QWidget* parent = nullptr);

  void showOutcome(const bus::ScanOutcome& outcome, bus::ScanRange range = bus::kUsualScanRange);

 signals:
  // The 8-bit write address of the cell double-clicked.
  void addressChosen(std::uint8_t writeAddress);
  void rescanRequested();

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  bus::AddressLabels labels() const;
  void fillGrid();
  void fitGridToContents();
  void cellChosen(int row, int column);

  QTableWidget* grid_ = nullptr;
  QCheckBox* sevenBit_ = nullptr;
  QLabel* summary_ = nullptr;
  QLabel* hint_ = nullptr;
  QPushButton* scanAgain_ = nullptr;
  bus::ScanOutcome outcome_;
  bus::ScanRange range_ = bus::kUsualScanRange;
};

}  // namespace brelvion::gui::scan
