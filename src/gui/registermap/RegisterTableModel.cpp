#include "gui/registermap/RegisterTableModel.h"

#include <QBrush>
#include <QColor>

#include "registers/MapWindowLogic.h"

namespace brelvion::gui::registermap {

namespace {

using registers::Column;

const QColor kComparedBackground(255, 236, 160);
const QColor kTroubleText(200, 0, 0);

}  // namespace

RegisterTableModel::RegisterTableModel(registers::RegisterTable& table, ValueEdit edit,
                                       QObject* parent)
    : QAbstractTableModel(parent), table_(table), edit_(std::move(edit)) {}

int RegisterTableModel::rowCount(const QModelIndex& parent) const {
  return parent.isValid() ? 0 : static_cast<int>(table_.rowCount());
}

int RegisterTableModel::columnCount(const QModelIndex& parent) const {
  return parent.isValid() ? 0 : registers::kColumnCount;
}

QVariant RegisterTableModel::data(const QModelIndex& index, int role) const {
  if (!index.isValid()) return {};
  const auto row = static_cast<std::size_t>(index.row());
  const auto column = static_cast<Column>(index.column());
  const std::size_t reg = table_.registerAt(row);
  switch (role) {
    case Qt::DisplayRole:
    case Qt::EditRole:
      return QString::fromStdString(table_.cellText(row, column));
    case Qt::ToolTipRole: {
      if (column == Column::Name) {
        return QString::fromStdString(table_.map().registers[reg].description);
      }
      const std::string explanation = table_.markExplanation(reg);
      return explanation.empty() ? QVariant() : QVariant(QString::fromStdString(explanation));
    }
    case Qt::BackgroundRole:
      if (table_.marks(reg).differsInComparison) return QBrush(kComparedBackground);
      return {};
    case Qt::ForegroundRole: {
      const registers::Marks marks = table_.marks(reg);
      if (marks.notStuck || marks.readFailed) return QBrush(kTroubleText);
      return {};
    }
    case Qt::TextAlignmentRole:
      return column == Column::Name ? QVariant() : QVariant(Qt::AlignCenter);
    default:
      return {};
  }
}

QVariant RegisterTableModel::headerData(int section, Qt::Orientation orientation, int role) const {
  if (role != Qt::DisplayRole || orientation != Qt::Horizontal) return {};
  if (section < 0 || section >= registers::kColumnCount) return {};
  return QString(registers::kColumnTitles[section]);
}

Qt::ItemFlags RegisterTableModel::flags(const QModelIndex& index) const {
  Qt::ItemFlags flags = QAbstractTableModel::flags(index);
  if (index.isValid() && static_cast<Column>(index.column()) == Column::Value &&
      table_.map().registers[table_.registerAt(static_cast<std::size_t>(index.row()))].writable()) {
    flags |= Qt::ItemIsEditable;
  }
  return flags;
}

bool RegisterTableModel::setData(const QModelIndex& index, const QVariant& value, int role) {
  if (!index.isValid() || role != Qt::EditRole) return false;
  if (static_cast<Column>(index.column()) != Column::Value) return false;
  edit_(table_.registerAt(static_cast<std::size_t>(index.row())), value.toString().toStdString());
  return true;
}

void RegisterTableModel::changeRows(const std::function<void()>& change) {
  beginResetModel();
  change();
  endResetModel();
}

void RegisterTableModel::valuesChanged(std::optional<std::size_t> editedRow) {
  for (const registers::CellBlock& block : registers::changedCells(table_.rowCount(), editedRow)) {
    emit dataChanged(index(static_cast<int>(block.firstRow), static_cast<int>(block.firstColumn)),
                     index(static_cast<int>(block.lastRow), static_cast<int>(block.lastColumn)));
  }
}

}  // namespace brelvion::gui::registermap
