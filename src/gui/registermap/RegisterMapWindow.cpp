#include "gui/registermap/RegisterMapWindow.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFontMetrics>
#include <QHideEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTableView>
#include <QTimer>
#include <chrono>
#include <filesystem>

#include "core/BusCommandGuard.h"
#include "desktop/ErrorTrap.h"
#include "gui/registermap/RegisterTableModel.h"
#include "i2c/DeviceAddress.h"
#include "registers/MapActions.h"
#include "registers/MapFiles.h"

namespace brelvion::gui::registermap {

namespace {

constexpr int kDefaultWidth = 900;
constexpr int kDefaultHeight = 640;

registers::RegisterMap startingRange(std::int16_t deviceAddress) {
  const auto device =
      i2c::DeviceAddress::fromByte(static_cast<std::uint8_t>(deviceAddress)).writeByte();
  return registers::plainRange(device == 0 ? 0x42 : device, i2c::kByteRegisters, 0, 0xFF);
}

}  // namespace

RegisterMapWindow::RegisterMapWindow(core::ToolCore& core, desktop::WindowSystem& windows,
                                     std::int16_t deviceAddress, QWidget* parent)
    : QWidget(parent, Qt::Window),
      core_(core),
      windows_(windows),
      table_(startingRange(deviceAddress)),
      snapshotTime_([] { return registers::snapshotTime(std::chrono::system_clock::now()); }) {
  setObjectName("RegisterMapWindow");
  setWindowTitle(kRegisterMapTitle);
  model_ = new RegisterTableModel(
      table_, [this](std::size_t index, const std::string& text) {
        trapped([&] { writeValue(index, text); });
      },
      this);
  buildControls();
  connectHandlers();
  replaceMap(table_.map(), "");
  resize(kDefaultWidth, kDefaultHeight);
}

RegisterMapWindow::~RegisterMapWindow() { core_.record().setMessageListener({}); }

void RegisterMapWindow::trapped(const std::function<void()>& handler) {
  desktop::runHandler(windows_, kRegisterMapTitle, handler);
}

bool RegisterMapWindow::runOwn(const std::function<void()>& command) {
  struct Own {
    bool& flag;
    ~Own() { flag = false; }
  } own{ownCommand_};
  ownCommand_ = true;
  return core::runBusCommand(core_, command);
}

bool RegisterMapWindow::busCommand(const char* name, const std::function<void()>& command) {
  const bool ran = runOwn(command);
  if (!ran) say(std::string(name) + " refused: another bus command is still running");
  return ran;
}

bool RegisterMapWindow::bulkCommand(const char* name,
                                    const std::function<void(const registers::StopCheck&)>& command) {
  return busCommand(name, [&] {
    trace::DebugLog::BulkAction bulk(core_.log());
    command([&bulk] { return bulk.stopped(); });
  });
}

// The engine tells the window of other commands' writes while it is open (minimized
// too, which the window system says with a hide of its own): a map that is not open costs
// the engine nothing.
void RegisterMapWindow::showEvent(QShowEvent* event) {
  core_.record().setMessageListener([this](const bus::Transaction& message) { noteMessage(message); });
  QWidget::showEvent(event);
}

void RegisterMapWindow::hideEvent(QHideEvent* event) {
  refreshBox_->setChecked(false);
  if (!event->spontaneous()) core_.record().setMessageListener({});
  QWidget::hideEvent(event);
}

void RegisterMapWindow::say(const std::string& text) { status_->setText(QString::fromStdString(text)); }

std::uint8_t RegisterMapWindow::device() const {
  const auto device = registers::deviceFromText(deviceField_->text().toStdString());
  if (!device) {
    throw base::RuntimeError(base::RuntimeError::kInvalidCall, kRegisterMapTitle,
                             "The device address is one or two hex digits, not '" +
                                 deviceField_->text().toStdString() + "'");
  }
  return *device;
}

// ---- The map ----

void RegisterMapWindow::chooseMap() {
  const std::string path = windows_.fileDialog(
      {desktop::FileDialogMode::Open, "Open Register Map", registers::kMapFileFilter});
  if (!path.empty()) openMap(path);
}

void RegisterMapWindow::openMap(const std::string& path) {
  // Loaded whole before anything of the window changes: a file with a mistake leaves the
  // map that is shown as it is.
  registers::RegisterMap map = registers::loadRegisterMap(path);
  replaceMap(std::move(map), path);
}

void RegisterMapWindow::showPlainRange() {
  registers::RangeFields fields;
  fields.device = deviceField_->text().toStdString();
  // The boxes show bits, as the window's captions count them.
  fields.format.addressBytes = registerBits_->currentText().toInt() / 8;
  fields.format.valueBytes = valueBits_->currentText().toInt() / 8;
  fields.format.order =
      littleEndian_->isChecked() ? i2c::ByteOrder::LittleEndian : i2c::ByteOrder::BigEndian;
  fields.first = firstField_->text().toStdString();
  fields.last = lastField_->text().toStdString();
  auto range = registers::rangeFromFields(fields);
  if (const auto* why = std::get_if<std::string>(&range)) {
    say(*why);
    return;
  }
  replaceMap(std::move(std::get<registers::RegisterMap>(range)), "");
}

void RegisterMapWindow::replaceMap(registers::RegisterMap map, const std::string& source) {
  refreshBox_->setChecked(false);
  mapSource_ = source;
  model_->changeRows([&] {
    table_ = registers::RegisterTable(std::move(map));
    table_.setFilter(filter_->text().toStdString());
  });
  shownFieldsOf_ = static_cast<std::size_t>(-1);
  updateFormatFields();
  clearComparison();
  chipId_->clear();
  chipIdButton_->setEnabled(table_.map().chipId.has_value());
  const registers::RegisterMap& shown = table_.map();
  const std::string count = std::to_string(shown.registers.size()) +
                            (shown.registers.size() == 1 ? " register" : " registers");
  const std::string file = std::filesystem::path(source).filename().string();
  mapName_->setText(QString::fromStdString(
      source.empty() ? "Plain range: " + count : shown.deviceName + " (" + file + "): " + count));
  mapName_->setToolTip(QString::fromStdString(source));
  showSelectedFields();
  sizeColumns();
  say("");
  if (shown.chipId) checkChipIdOnOpening();
}

// The map is open whatever the check finds; a port that fails is said beside it.
void RegisterMapWindow::checkChipIdOnOpening() {
  try {
    checkChipId();
  } catch (const base::RuntimeError& error) {
    chipId_->setText(QString::fromStdString("Chip ID not checked: " + error.boxText()));
  }
}

void RegisterMapWindow::sizeColumns() {
  const QFontMetrics metrics(tableView_->font());
  auto widthOf = [&](const std::string& text) {
    return metrics.horizontalAdvance(QString::fromStdString(text)) + 2 * metrics.averageCharWidth() + 8;
  };
  std::string longest = "Name";
  for (const registers::Register& reg : table_.map().registers) {
    if (reg.name.size() > longest.size()) longest = reg.name;
  }
  using registers::Column;
  tableView_->setColumnWidth(static_cast<int>(Column::Address), widthOf("Address"));
  tableView_->setColumnWidth(static_cast<int>(Column::Name), widthOf(longest));
  tableView_->setColumnWidth(static_cast<int>(Column::Width), widthOf("Width"));
  tableView_->setColumnWidth(static_cast<int>(Column::Access), widthOf("Access"));
  tableView_->setColumnWidth(static_cast<int>(Column::Value), widthOf("FFFFFFFF"));
  tableView_->setColumnWidth(static_cast<int>(Column::Default), widthOf("FFFFFFFF"));
}

void RegisterMapWindow::updateFormatFields() {
  const registers::RegisterMap& map = table_.map();
  const bool range = mapSource_.empty();
  if (map.deviceAddress) {
    deviceField_->setText(QString::fromStdString(registers::valueHex(*map.deviceAddress, 1)));
  }
  registerBits_->setCurrentText(QString::number(8 * map.format.addressBytes));
  valueBits_->setCurrentText(QString::number(8 * map.format.valueBytes));
  littleEndian_->setChecked(map.format.order == i2c::ByteOrder::LittleEndian);
  for (QWidget* widget : std::initializer_list<QWidget*>{registerBits_, valueBits_, littleEndian_,
                                                         firstField_, lastField_}) {
    widget->setEnabled(range);
  }
}

// A reset model takes the selection away without a word, so the fields follow by hand.
void RegisterMapWindow::applyFilter() {
  model_->changeRows([&] { table_.setFilter(filter_->text().toStdString()); });
  showSelectedFields();
}

void RegisterMapWindow::afterValuesChanged() {
  if (comparison_.follow(table_)) showComparisonList();
  model_->valuesChanged(editedRow());
  showSelectedFields();
}

std::optional<std::size_t> RegisterMapWindow::editedRow() const {
  const QModelIndex current = tableView_->currentIndex();
  if (!current.isValid()) return std::nullopt;
  const QModelIndex value = model_->index(current.row(), static_cast<int>(registers::Column::Value));
  if (tableView_->indexWidget(value) == nullptr) return std::nullopt;
  return static_cast<std::size_t>(current.row());
}

}  // namespace brelvion::gui::registermap
