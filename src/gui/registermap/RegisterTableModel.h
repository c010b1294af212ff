#pragma once

#include <QAbstractTableModel>
#include <functional>
#include <optional>

#include "registers/RegisterTable.h"

namespace brelvion::gui::registermap {

// The register table as Qt's views see it: every text, mark and colour comes from the
// Qt-free RegisterTable. Only the rows its filter lets through are shown, so a view of
// thousands of registers asks for no more than the rows on screen.
class RegisterTableModel : public QAbstractTableModel {
  Q_OBJECT

 public:
  // What an edit of a Value cell does: write text to the register of that index.
  using ValueEdit = std::function<void(std::size_t index, const std::string& text)>;

  RegisterTableModel(registers::RegisterTable& table, ValueEdit edit, QObject* parent = nullptr);

  int rowCount(const QModelIndex& parent = {}) const override;
  int columnCount(const QModelIndex& parent = {}) const override;
  QVariant data(const QModelIndex& index, int role) const override;
  QVariant headerData(int section, Qt::Orientation orientation, int role) const override;
  Qt::ItemFlags flags(const QModelIndex& index) const override;
  bool setData(const QModelIndex& index, const QVariant& value, int role) override;

  // The table's register at a row of the view.
  std::size_t registerAt(int row) const { return table_.registerAt(static_cast<std::size_t>(row)); }
  // Runs change (a new filter, say), which gives the table other rows.
  void changeRows(const std::function<void()>& change);
  // After reads or writes: the values and marks of every row shown, but for the value of
  // editedRow, whose open editor keeps what is being typed.
  void valuesChanged(std::optional<std::size_t> editedRow = std::nullopt);

 private:
  registers::RegisterTable& table_;
  ValueEdit edit_;
};

}  // namespace brelvion::gui::registermap
