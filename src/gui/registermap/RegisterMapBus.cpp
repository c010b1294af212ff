#include <QCheckBox>
#include <QItemSelectionModel>
#include <QLabel>
#include <QLineEdit>
#include <QSpinBox>
#include <QTableView>
#include <QTimer>
#include <algorithm>
#include <set>

#include "gui/registermap/RegisterMapWindow.h"
#include "gui/registermap/RegisterTableModel.h"
#include "registers/Fields.h"
#include "registers/MapActions.h"

// What the register map window does on the bus: every action one bus command through the
// core's engine, so it shows in the trace and in a capture like any other.
namespace brelvion::gui::registermap {

void RegisterMapWindow::readAll() {
  readRuns(registers::planReadAll(table_.map(), readLimit_), "Read All");
}

void RegisterMapWindow::readSelected() {
  std::set<std::size_t> chosen;
  for (const QModelIndex& index : tableView_->selectionModel()->selectedIndexes()) {
    chosen.insert(model_->registerAt(index.row()));
  }
  if (chosen.empty()) {
    say("Choose the registers to read in the table first");
    return;
  }
  readRuns(registers::planReads(table_.map(), {chosen.begin(), chosen.end()}, readLimit_),
           "Read Selected");
}

void RegisterMapWindow::readRuns(const std::vector<registers::ReadRun>& runs, const char* name) {
  const std::uint8_t address = device();
  registers::ReadOutcome outcome;
  if (!bulkCommand(name, [&](const registers::StopCheck& stop) {
        outcome = registers::readRuns(core_.master(), address, table_, runs, stop);
      })) {
    return;
  }
  showChipIdRead(address, runs);
  afterValuesChanged();
  say(registers::readText(outcome));
}

void RegisterMapWindow::writeValue(std::size_t index, const std::string& text) {
  const registers::Register& reg = table_.map().registers.at(index);
  const auto value = registers::valueFromText(text, reg.valueBytes);
  if (!value) {
    say(registers::registerTitle(table_.map(), reg) + " takes up to " +
        std::to_string(2 * reg.valueBytes) + " hex digits, not '" + text + "'");
    return;
  }
  writeRegister(index, *value);
}

void RegisterMapWindow::writeFieldValue(std::size_t index, std::size_t field, std::uint32_t value) {
  const registers::Register& reg = table_.map().registers.at(index);
  const std::uint32_t base = registers::fieldEditBase(table_, index);
  writeRegister(index, registers::withFieldValue(base, reg.fields.at(field), value));
}

void RegisterMapWindow::writeRegister(std::size_t index, std::uint32_t value) {
  const std::uint8_t address = device();
  registers::WriteOutcome outcome;
  if (!busCommand("Write", [&] {
        outcome = registers::writeAndCheck(core_.master(), address, table_, index, value);
      })) {
    return;
  }
  afterValuesChanged();
  say(registers::writeText(table_.map(), index, value, outcome));
}

void RegisterMapWindow::checkChipId() {
  const std::uint8_t address = device();
  registers::ChipIdOutcome outcome;
  if (!busCommand("Chip ID check",
                  [&] { outcome = registers::checkChipId(core_.master(), address, table_.map()); })) {
    return;
  }
  showChipId(address, outcome);
}

void RegisterMapWindow::showChipId(std::uint8_t address, const registers::ChipIdOutcome& outcome) {
  chipId_->setText(QString::fromStdString(registers::chipIdText(table_.map(), address, outcome)));
  chipId_->setStyleSheet(outcome.matches ? "color: #007000" : "color: #C00000");
}

void RegisterMapWindow::showChipIdRead(std::uint8_t address,
                                       const std::vector<registers::ReadRun>& runs) {
  if (const auto outcome = registers::chipIdFromRead(table_, runs)) showChipId(address, *outcome);
}

// ---- What other commands write: the engine's messages while the window shows ----

void RegisterMapWindow::noteMessage(const bus::Transaction& message) {
  if (ownCommand_) return;
  const auto address = registers::deviceFromText(deviceField_->text().toStdString());
  if (address && registers::noteWriteElsewhere(table_, *address, message)) afterValuesChanged();
}

// ---- The refresh: one read a tick, the period after each pass ----

void RegisterMapWindow::refreshToggled() {
  if (!refreshBox_->isChecked()) {
    refreshTimer_->stop();
    return;
  }
  refresh_.start(registers::planReadAll(
      table_.map(), std::min(readLimit_, registers::RefreshCycle::kReadBytes)));
  if (refresh_.empty()) {
    refreshBox_->setChecked(false);
    say("Nothing to refresh: no register of the map can be read");
    return;
  }
  refreshTimer_->start(0);
}

void RegisterMapWindow::refreshTick() {
  if (!refreshBox_->isChecked()) return;
  const int period = refreshPeriod_->value();
  // Another command on the bus: this pass waits for the next period.
  if (core_.busBusy()) {
    refreshTimer_->start(period);
    return;
  }
  const std::optional<registers::ReadRun> run = refresh_.next();
  if (!run) {
    refreshTimer_->start(period);
    return;
  }
  const std::uint8_t address = device();
  bool stopped = false;
  runOwn([&] {
    trace::DebugLog::BulkAction bulk(core_.log());
    registers::readRuns(core_.master(), address, table_, {*run});
    stopped = bulk.stopped();
  });
  showChipIdRead(address, {*run});
  afterValuesChanged();
  if (stopped) {
    refreshBox_->setChecked(false);
    say("Refresh stopped at the error");
    return;
  }
  refreshTimer_->start(0);
}

}  // namespace brelvion::gui::registermap
