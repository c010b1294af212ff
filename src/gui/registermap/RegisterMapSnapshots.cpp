#include <QLabel>
#include <QListWidget>
#include <filesystem>

#include "gui/registermap/RegisterMapWindow.h"
#include "gui/registermap/RegisterTableModel.h"
#include "registers/Diff.h"
#include "registers/MapActions.h"
#include "registers/MapFiles.h"

// Snapshots of the map's values, and comparisons of live values, snapshots and defaults.
namespace brelvion::gui::registermap {

namespace {

std::string fileName(const std::string& path) {
  return std::filesystem::path(path).filename().string();
}

}  // namespace

std::string RegisterMapWindow::chooseFile(const char* title, bool save) {
  return windows_.fileDialog(
      {save ? desktop::FileDialogMode::Save : desktop::FileDialogMode::Open, title,
       registers::kSnapshotFileFilter});
}

void RegisterMapWindow::saveSnapshot() {
  const registers::Snapshot snapshot = table_.snapshot(snapshotTime_(), device());
  if (snapshot.values.empty()) {
    say("Nothing to save: no register has been read yet");
    return;
  }
  const std::string path = registers::withSnapshotExtension(chooseFile("Save Snapshot", true));
  if (path.empty()) return;
  registers::saveSnapshot(path, snapshot);
  say("Saved " + std::to_string(snapshot.values.size()) + " register values to " + path);
}

void RegisterMapWindow::compareLiveWithSnapshot() {
  const std::string path = chooseFile("Compare with Snapshot", false);
  if (path.empty()) return;
  registers::Snapshot snapshot = registers::loadSnapshot(path);
  comparison_.compareLive(std::move(snapshot.values), fileName(path),
                          registers::CompareScope::Everything, table_);
  showComparison();
}

void RegisterMapWindow::compareSnapshots() {
  const std::string first = chooseFile("Compare Two Snapshots: the first", false);
  if (first.empty()) return;
  const std::string second = chooseFile("Compare Two Snapshots: the second", false);
  if (second.empty()) return;
  const registers::Snapshot left = registers::loadSnapshot(first);
  const registers::Snapshot right = registers::loadSnapshot(second);
  comparison_.compareFixed(left.values, right.values, fileName(first), fileName(second));
  showComparison();
}

void RegisterMapWindow::compareWithDefaults() {
  comparison_.compareLive(registers::defaultValues(table_.map()), "the defaults",
                          registers::CompareScope::Common, table_);
  showComparison();
}

void RegisterMapWindow::showComparison() {
  showComparisonList();
  model_->valuesChanged(editedRow());
}

void RegisterMapWindow::showComparisonList() {
  comparisonTitle_->setText(QString::fromStdString(comparison_.title()));
  differences_->clear();
  for (const registers::Difference& difference : comparison_.differences()) {
    differences_->addItem(QString::fromStdString(
        registers::differenceText(difference, table_.map().format.addressBytes)));
  }
  table_.setComparison(comparison_.differences());
}

void RegisterMapWindow::clearComparison() {
  comparison_.clear();
  showComparison();
}

void RegisterMapWindow::writeSnapshotBack() {
  const std::string path = chooseFile("Write Snapshot Back", false);
  if (path.empty()) return;
  const registers::Snapshot snapshot = registers::loadSnapshot(path);
  const registers::WriteBackPlan plan = registers::planWriteBack(table_.map(), snapshot);
  const std::uint8_t address = device();
  const desktop::MessageAnswer answer = windows_.messageBox(
      {"Write " + std::to_string(plan.writes.size()) + " registers of " + fileName(path) +
           " to the device at " + registers::valueHex(address, 1) + "?",
       kRegisterMapTitle, desktop::MessageIcon::Question, desktop::MessageButtons::YesNo});
  if (answer != desktop::MessageAnswer::Yes) return;
  registers::RestoreOutcome outcome;
  const auto runs = registers::planReadAll(table_.map(), readLimit_);
  if (!bulkCommand("Write Snapshot Back", [&](const registers::StopCheck& stop) {
        outcome = registers::restoreSnapshot(core_.master(), address, table_, plan, runs, stop);
      })) {
    return;
  }
  showChipIdRead(address, runs);
  afterValuesChanged();
  say(registers::restoreText(outcome));
}

}  // namespace brelvion::gui::registermap
