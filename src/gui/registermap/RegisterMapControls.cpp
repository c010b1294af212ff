#include <QCheckBox>
#include <QComboBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QSpinBox>
#include <QSplitter>
#include <QTableView>
#include <QTableWidget>
#include <QTimer>
#include <QVBoxLayout>

#include "gui/registermap/RegisterMapWindow.h"
#include "gui/registermap/RegisterTableModel.h"

namespace brelvion::gui::registermap {

namespace {

template <typename W>
W* named(W* widget, const char* name) {
  widget->setObjectName(name);
  return widget;
}

QPushButton* button(const char* name, const char* caption) {
  return named(new QPushButton(caption), name);
}

}  // namespace

void RegisterMapWindow::buildMapRow(QBoxLayout& layout) {
  auto* row = new QHBoxLayout;
  openButton_ = button("openDescription", "&Open Description...");
  rangeButton_ = button("showRange", "Plain Ran&ge");
  deviceField_ = named(new QLineEdit("42"), "device");
  deviceField_->setMaxLength(2);
  deviceField_->setFixedWidth(40);
  registerBits_ = named(new QComboBox, "registerBits");
  registerBits_->addItems({"8", "16"});
  valueBits_ = named(new QComboBox, "valueBits");
  valueBits_->addItems({"8", "16", "32"});
  littleEndian_ = named(new QCheckBox("Little-endian"), "littleEndian");
  firstField_ = named(new QLineEdit("00"), "first");
  lastField_ = named(new QLineEdit("FF"), "last");
  for (QLineEdit* field : {firstField_, lastField_}) {
    field->setMaxLength(4);
    field->setFixedWidth(56);
  }
  row->addWidget(openButton_);
  row->addWidget(rangeButton_);
  row->addSpacing(12);
  row->addWidget(new QLabel("Device"));
  row->addWidget(deviceField_);
  row->addWidget(new QLabel("Register bits"));
  row->addWidget(registerBits_);
  row->addWidget(new QLabel("Value bits"));
  row->addWidget(valueBits_);
  row->addWidget(littleEndian_);
  row->addWidget(new QLabel("First"));
  row->addWidget(firstField_);
  row->addWidget(new QLabel("Last"));
  row->addWidget(lastField_);
  row->addStretch(1);
  layout.addLayout(row);

  auto* names = new QHBoxLayout;
  mapName_ = named(new QLabel, "mapName");
  chipId_ = named(new QLabel, "chipId");
  chipIdButton_ = button("checkChipId", "C&heck Chip ID");
  names->addWidget(mapName_, 1);
  names->addWidget(chipId_);
  names->addWidget(chipIdButton_);
  layout.addLayout(names);
}

void RegisterMapWindow::buildActionRows(QBoxLayout& layout) {
  auto* reads = new QHBoxLayout;
  filter_ = named(new QLineEdit, "filter");
  filter_->setPlaceholderText("name or address");
  filter_->setClearButtonEnabled(true);
  readAllButton_ = button("readAll", "&Read All");
  readSelectedButton_ = button("readSelected", "Read Se&lected");
  refreshBox_ = named(new QCheckBox("Re&fresh every"), "refresh");
  refreshPeriod_ = named(new QSpinBox, "refreshPeriod");
  refreshPeriod_->setRange(registers::RefreshCycle::kMinPeriodMs,
                           registers::RefreshCycle::kMaxPeriodMs);
  refreshPeriod_->setValue(500);
  refreshPeriod_->setSingleStep(100);
  refreshPeriod_->setSuffix(" ms");
  auto* filterLabel = new QLabel("F&ilter");
  filterLabel->setBuddy(filter_);
  reads->addWidget(filterLabel);
  reads->addWidget(filter_, 1);
  reads->addWidget(readAllButton_);
  reads->addWidget(readSelectedButton_);
  reads->addWidget(refreshBox_);
  reads->addWidget(refreshPeriod_);
  layout.addLayout(reads);

  auto* snapshots = new QHBoxLayout;
  saveButton_ = button("saveSnapshot", "&Save Snapshot...");
  compareLiveButton_ = button("compareLive", "&Compare with Snapshot...");
  compareSnapshotsButton_ = button("compareSnapshots", "Compare T&wo Snapshots...");
  compareDefaultsButton_ = button("compareDefaults", "Compare with &Defaults");
  clearButton_ = button("clearComparison", "Clear Co&mparison");
  writeBackButton_ = button("writeBack", "Write Snapshot &Back...");
  for (QPushButton* b : {saveButton_, compareLiveButton_, compareSnapshotsButton_,
                         compareDefaultsButton_, clearButton_, writeBackButton_}) {
    snapshots->addWidget(b);
  }
  snapshots->addStretch(1);
  layout.addLayout(snapshots);
}

void RegisterMapWindow::buildPanes(QBoxLayout& layout) {
  tableView_ = named(new QTableView, "registers");
  tableView_->setModel(model_);
  tableView_->setSelectionBehavior(QAbstractItemView::SelectRows);
  tableView_->setEditTriggers(QAbstractItemView::DoubleClicked | QAbstractItemView::EditKeyPressed |
                              QAbstractItemView::AnyKeyPressed);
  tableView_->verticalHeader()->hide();
  tableView_->verticalHeader()->setDefaultSectionSize(tableView_->fontMetrics().height() + 6);
  tableView_->horizontalHeader()->setStretchLastSection(true);
  tableView_->setAlternatingRowColors(true);

  fields_ = named(new QTableWidget(0, 3), "fields");
  fields_->setHorizontalHeaderLabels({"Field", "Bits", "Value"});
  fields_->verticalHeader()->hide();
  fields_->horizontalHeader()->setStretchLastSection(true);
  fields_->setEditTriggers(QAbstractItemView::NoEditTriggers);

  auto* comparison = new QWidget;
  auto* comparisonLayout = new QVBoxLayout(comparison);
  comparisonLayout->setContentsMargins(0, 0, 0, 0);
  comparisonTitle_ = named(new QLabel("No comparison"), "comparisonTitle");
  differences_ = named(new QListWidget, "differences");
  comparisonLayout->addWidget(comparisonTitle_);
  comparisonLayout->addWidget(differences_);

  auto* below = new QSplitter(Qt::Horizontal);
  below->addWidget(fields_);
  below->addWidget(comparison);
  auto* panes = new QSplitter(Qt::Vertical);
  panes->addWidget(tableView_);
  panes->addWidget(below);
  panes->setStretchFactor(0, 3);
  panes->setStretchFactor(1, 1);
  layout.addWidget(panes, 1);

  status_ = named(new QLabel, "status");
  status_->setTextInteractionFlags(Qt::TextSelectableByMouse);
  layout.addWidget(status_);
}

void RegisterMapWindow::buildControls() {
  auto* layout = new QVBoxLayout(this);
  buildMapRow(*layout);
  buildActionRows(*layout);
  buildPanes(*layout);
  refreshTimer_ = new QTimer(this);
  refreshTimer_->setObjectName("refreshTimer");
  refreshTimer_->setSingleShot(true);
}

void RegisterMapWindow::connectHandlers() {
  handle(openButton_, &QPushButton::clicked, &RegisterMapWindow::chooseMap);
  handle(rangeButton_, &QPushButton::clicked, &RegisterMapWindow::showPlainRange);
  handle(chipIdButton_, &QPushButton::clicked, &RegisterMapWindow::checkChipId);
  // The banner tells of one device: another device has not been checked yet.
  connect(deviceField_, &QLineEdit::textChanged, chipId_, &QLabel::clear);
  handle(filter_, &QLineEdit::textChanged, &RegisterMapWindow::applyFilter);
  handle(readAllButton_, &QPushButton::clicked, &RegisterMapWindow::readAll);
  handle(readSelectedButton_, &QPushButton::clicked, &RegisterMapWindow::readSelected);
  handle(refreshBox_, &QCheckBox::toggled, &RegisterMapWindow::refreshToggled);
  handle(refreshTimer_, &QTimer::timeout, &RegisterMapWindow::refreshTick);
  handle(saveButton_, &QPushButton::clicked, &RegisterMapWindow::saveSnapshot);
  handle(compareLiveButton_, &QPushButton::clicked, &RegisterMapWindow::compareLiveWithSnapshot);
  handle(compareSnapshotsButton_, &QPushButton::clicked, &RegisterMapWindow::compareSnapshots);
  handle(compareDefaultsButton_, &QPushButton::clicked, &RegisterMapWindow::compareWithDefaults);
  handle(clearButton_, &QPushButton::clicked, &RegisterMapWindow::clearComparison);
  handle(writeBackButton_, &QPushButton::clicked, &RegisterMapWindow::writeSnapshotBack);
  handle(tableView_->selectionModel(), &QItemSelectionModel::currentRowChanged,
         &RegisterMapWindow::showSelectedFields);
}

}  // namespace brelvion::gui::registermap
