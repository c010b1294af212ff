#pragma once

#include <QWidget>
#include <functional>
#include <optional>
#include <string>

#include "core/ToolCore.h"
#include "desktop/WindowSystem.h"
#include "registers/Comparison.h"
#include "registers/MapActions.h"
#include "registers/MapWindowLogic.h"
#include "registers/ReadPlan.h"
#include "registers/RegisterTable.h"

class QBoxLayout;
class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QListWidget;
class QPushButton;
class QSpinBox;
class QTableView;
class QTableWidget;
class QTimer;

namespace brelvion::gui::registermap {

class RegisterTableModel;

inline constexpr const char* kRegisterMapTitle = "Register Map";

// The register map window: a device's registers in a table with their values, defaults
// and marks, a filter, the selected register's bit fields, reads, writes with a read-back
// check, an optional refresh, snapshots and comparisons. Without a description it shows a
// plain range of registers. Every bus action goes through the one engine of the core, as
// one bus command at a time; what it decides is the Qt-free registers layer's. Every
// handler runs trapped: an error shows in a box and the window goes on.
class RegisterMapWindow : public QWidget {
  Q_OBJECT

 public:
  // deviceAddress: the main window's device-address field, whose device the map starts on
  // (0x42 for none).
  RegisterMapWindow(core::ToolCore& core, desktop::WindowSystem& windows,
                    std::int16_t deviceAddress, QWidget* parent = nullptr);
  ~RegisterMapWindow() override;

  // The largest read of one message (i2c-dev's 8192 bytes unless set).
  void setReadLimit(std::size_t bytes) { readLimit_ = bytes; }
  // The clock of snapshot headers; the system's unless set.
  void setSnapshotTime(std::function<std::string()> now) { snapshotTime_ = std::move(now); }

  // Loads a description or register list, as Open Description does with the chosen file.
  void openMap(const std::string& path);
  const registers::RegisterTable& table() const { return table_; }

 protected:
  void showEvent(QShowEvent* event) override;
  void hideEvent(QHideEvent* event) override;

 private:
  void buildControls();
  void buildMapRow(QBoxLayout& layout);
  void buildActionRows(QBoxLayout& layout);
  void buildPanes(QBoxLayout& layout);
  void connectHandlers();
  void trapped(const std::function<void()>& handler);
  template <typename Sender, typename Signal>
  void handle(Sender* sender, Signal signal, void (RegisterMapWindow::*handler)());
  // Runs command as the one bus command of the moment; says so when another one runs.
  bool busCommand(const char* name, const std::function<void()>& command);
  // A bus command of many transactions, handed the check that ends it at the first error
  // Stop on Error has shown.
  bool bulkCommand(const char* name, const std::function<void(const registers::StopCheck&)>& command);
  // Runs command as the window's own bus command (whose messages are no news to the map),
  // or refuses it as runBusCommand does.
  bool runOwn(const std::function<void()>& command);
  // A message another command sent: a write to the device's registers marks them.
  void noteMessage(const bus::Transaction& message);

  // The map and its table.
  void chooseMap();
  void showPlainRange();
  void replaceMap(registers::RegisterMap map, const std::string& source);
  void sizeColumns();
  void applyFilter();
  void showSelectedFields();
  // The value cell of field i of register index in row: a hex entry for a field without
  // named values, a list of them otherwise; shown is the cell's widget when it is kept.
  void showFieldNumber(int row, std::size_t index, std::size_t i, QLineEdit* shown,
                       std::uint32_t value);
  void showFieldChoice(int row, std::size_t index, std::size_t i, QComboBox* shown,
                       std::uint32_t value);
  void updateFormatFields();
  std::uint8_t device() const;

  // The bus.
  void readAll();
  void readSelected();
  void readRuns(const std::vector<registers::ReadRun>& runs, const char* name);
  void writeValue(std::size_t index, const std::string& text);
  void writeFieldValue(std::size_t index, std::size_t field, std::uint32_t value);
  void writeRegister(std::size_t index, std::uint32_t value);
  void checkChipId();
  void checkChipIdOnOpening();
  void showChipId(std::uint8_t address, const registers::ChipIdOutcome& outcome);
  // The banner from a read of runs that took in the chip-ID register.
  void showChipIdRead(std::uint8_t address, const std::vector<registers::ReadRun>& runs);
  void refreshToggled();
  void refreshTick();

  // Snapshots and comparisons.
  void saveSnapshot();
  void compareLiveWithSnapshot();
  void compareSnapshots();
  void compareWithDefaults();
  void clearComparison();
  void writeSnapshotBack();
  void showComparison();
  void showComparisonList();
  std::string chooseFile(const char* title, bool save);

  // The table, the fields and a comparison with the live values follow the values.
  void afterValuesChanged();
  // The row whose value cell has an editor open, which a refresh leaves alone.
  std::optional<std::size_t> editedRow() const;
  void say(const std::string& text);

  core::ToolCore& core_;
  desktop::WindowSystem& windows_;
  registers::RegisterTable table_;
  RegisterTableModel* model_ = nullptr;
  registers::RefreshCycle refresh_;
  registers::Comparison comparison_;
  // True while the window's own bus command runs.
  bool ownCommand_ = false;
  std::size_t readLimit_ = registers::kI2cDevMessageLimit;
  std::function<std::string()> snapshotTime_;
  // Where the map came from: a file, or empty for a plain range.
  std::string mapSource_;
  std::size_t shownFieldsOf_ = static_cast<std::size_t>(-1);

  QPushButton* openButton_ = nullptr;
  QPushButton* rangeButton_ = nullptr;
  QLineEdit* deviceField_ = nullptr;
  QComboBox* registerBits_ = nullptr;
  QComboBox* valueBits_ = nullptr;
  QCheckBox* littleEndian_ = nullptr;
  QLineEdit* firstField_ = nullptr;
  QLineEdit* lastField_ = nullptr;
  QLabel* mapName_ = nullptr;
  QLabel* chipId_ = nullptr;
  QPushButton* chipIdButton_ = nullptr;
  QLineEdit* filter_ = nullptr;
  QPushButton* readAllButton_ = nullptr;
  QPushButton* readSelectedButton_ = nullptr;
  QCheckBox* refreshBox_ = nullptr;
  QSpinBox* refreshPeriod_ = nullptr;
  QPushButton* saveButton_ = nullptr;
  QPushButton* compareLiveButton_ = nullptr;
  QPushButton* compareSnapshotsButton_ = nullptr;
  QPushButton* compareDefaultsButton_ = nullptr;
  QPushButton* clearButton_ = nullptr;
  QPushButton* writeBackButton_ = nullptr;
  QTableView* tableView_ = nullptr;
  QTableWidget* fields_ = nullptr;
  QLabel* comparisonTitle_ = nullptr;
  QListWidget* differences_ = nullptr;
  QLabel* status_ = nullptr;
  QTimer* refreshTimer_ = nullptr;
};

template <typename Sender, typename Signal>
void RegisterMapWindow::handle(Sender* sender, Signal signal,
                               void (RegisterMapWindow::*handler)()) {
  connect(sender, signal, this, [this, handler] { trapped([&] { (this->*handler)(); }); });
}

}  // namespace brelvion::gui::registermap
