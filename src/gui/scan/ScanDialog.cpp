#include "gui/scan/ScanDialog.h"

#include <QCheckBox>
#include <QDialogButtonBox>
#include <QFontDatabase>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>
#include <QTableWidget>
#include <QVBoxLayout>
#include <algorithm>

namespace brelvion::gui::scan {

namespace {

QStringList labelsOf(const auto& texts) {
  QStringList list;
  for (const std::string& text : texts) list << QString::fromStdString(text);
  return list;
}

}  // namespace

ScanDialog::ScanDialog(QWidget* parent) : QDialog(parent) {
  setObjectName("ScanDialog");
  setWindowTitle(kScanDialogTitle);
  grid_ = new QTableWidget(bus::kScanGridRows, bus::kScanGridColumns, this);
  grid_->setObjectName("scanGrid");
  grid_->setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));
  grid_->setEditTriggers(QAbstractItemView::NoEditTriggers);
  grid_->setSelectionMode(QAbstractItemView::SingleSelection);
  grid_->horizontalHeader()->setSectionResizeMode(QHeaderView::ResizeToContents);
  grid_->verticalHeader()->setSectionResizeMode(QHeaderView::ResizeToContents);
  grid_->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
  grid_->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
  sevenBit_ = new QCheckBox("7-bit addresses", this);
  sevenBit_->setObjectName("scanSevenBit");
  summary_ = new QLabel(this);
  summary_->setObjectName("scanSummary");
  summary_->setWordWrap(true);
  scanAgain_ = new QPushButton("Scan Again", this);
  scanAgain_->setObjectName("scanAgain");
  auto* close = new QDialogButtonBox(QDialogButtonBox::Close, this);

  auto* buttons = new QHBoxLayout;
  buttons->addWidget(sevenBit_);
  buttons->addStretch();
  buttons->addWidget(scanAgain_);
  buttons->addWidget(close);
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(grid_);
  layout->addWidget(summary_);
  hint_ = new QLabel(kScanChooseHint, this);
  hint_->setObjectName("scanHint");
  layout->addWidget(hint_);
  layout->addLayout(buttons);

  connect(sevenBit_, &QCheckBox::toggled, this, [this] { fillGrid(); });
  connect(grid_, &QTableWidget::cellDoubleClicked, this, &ScanDialog::cellChosen);
  grid_->installEventFilter(this);
  connect(scanAgain_, &QPushButton::clicked, this, &ScanDialog::rescanRequested);
  connect(close, &QDialogButtonBox::rejected, this, &QDialog::reject);
}

void ScanDialog::showOutcome(const bus::ScanOutcome& outcome, bus::ScanRange range) {
  outcome_ = outcome;
  range_ = range;
  fillGrid();
  adjustSize();
}

bus::AddressLabels ScanDialog::labels() const {
  return sevenBit_->isChecked() ? bus::AddressLabels::SevenBit : bus::AddressLabels::EightBit;
}

void ScanDialog::fillGrid() {
  const bus::ScanGrid grid = bus::scanGrid(outcome_, range_, labels());
  grid_->setHorizontalHeaderLabels(labelsOf(grid.columnLabels));
  grid_->setVerticalHeaderLabels(labelsOf(grid.rowLabels));
  for (int row = 0; row < bus::kScanGridRows; ++row) {
    for (int column = 0; column < bus::kScanGridColumns; ++column) {
      auto* cell = new QTableWidgetItem(QString::fromStdString(grid.cells[row][column]));
      cell->setTextAlignment(Qt::AlignCenter);
      grid_->setItem(row, column, cell);
    }
  }
  grid_->setCurrentItem(nullptr);
  fitGridToContents();
  grid_->setEnabled(!outcome_.sdaHeldLow);
  // Nothing to choose: no advice to double-click.
  hint_->setVisible(!outcome_.sdaHeldLow && !outcome_.answered.empty());
  summary_->setText(QString::fromStdString(bus::scanSummaryText(outcome_, labels())));
}

// The whole grid in view, as i2cdetect prints it, rather than behind scroll bars.
void ScanDialog::fitGridToContents() {
  grid_->resizeColumnsToContents();
  grid_->resizeRowsToContents();
  const int frame = 2 * grid_->frameWidth();
  grid_->setFixedSize(
      grid_->verticalHeader()->sizeHint().width() + grid_->horizontalHeader()->length() + frame,
      grid_->horizontalHeader()->sizeHint().height() + grid_->verticalHeader()->length() + frame);
}

// Enter chooses the current cell as a double-click does, and never presses a button of
// the dialog.
bool ScanDialog::eventFilter(QObject* watched, QEvent* event) {
  if (watched == grid_ && event->type() == QEvent::KeyPress) {
    const int key = static_cast<QKeyEvent*>(event)->key();
    if (key == Qt::Key_Return || key == Qt::Key_Enter) {
      if (grid_->currentItem() != nullptr) cellChosen(grid_->currentRow(), grid_->currentColumn());
      return true;
    }
  }
  return QDialog::eventFilter(watched, event);
}

void ScanDialog::cellChosen(int row, int column) {
  const std::uint8_t address = bus::addressOfCell(row, column);
  const auto& answered = outcome_.answered;
  if (std::find(answered.begin(), answered.end(), address) == answered.end()) return;
  emit addressChosen(address);
}

}  // namespace brelvion::gui::scan
