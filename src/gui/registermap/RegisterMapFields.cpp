#include <QAbstractItemView>
#include <QComboBox>
#include <QHeaderView>
#include <QLineEdit>
#include <QSignalBlocker>
#include <QTableView>
#include <QTableWidget>

#include "gui/registermap/RegisterMapWindow.h"
#include "gui/registermap/RegisterTableModel.h"
#include "registers/Fields.h"

// The selected register's bit fields, each shown with its value and editable by its named
// values (or as a number, for a field without them); an edit writes the register.
namespace brelvion::gui::registermap {

namespace {

constexpr int kValueColumn = 2;

QTableWidgetItem* fixedItem(const std::string& text) {
  auto* item = new QTableWidgetItem(QString::fromStdString(text));
  item->setFlags(Qt::ItemIsEnabled);
  return item;
}

// The combo box's entry for value: a named value's, or one added for a value without a name.
int entryFor(QComboBox& box, const registers::Field& field, std::uint32_t value) {
  const int found = box.findData(QVariant::fromValue(value));
  if (found >= 0) return found;
  box.addItem(QString::fromStdString(registers::fieldValueText(field, value)),
              QVariant::fromValue(value));
  return box.count() - 1;
}

}  // namespace

void RegisterMapWindow::showSelectedFields() {
  const QModelIndex current = tableView_->selectionModel()->currentIndex();
  if (!current.isValid()) {
    fields_->setRowCount(0);
    shownFieldsOf_ = static_cast<std::size_t>(-1);
    return;
  }
  const std::size_t index = model_->registerAt(current.row());
  const bool same = index == shownFieldsOf_;
  if (!same) {
    fields_->setRowCount(0);
    shownFieldsOf_ = index;
  }
  const registers::Register& reg = table_.map().registers.at(index);
  const std::uint32_t value = registers::fieldEditBase(table_, index);
  fields_->setRowCount(static_cast<int>(reg.fields.size()));
  for (std::size_t i = 0; i < reg.fields.size(); ++i) {
    const registers::Field& field = reg.fields[i];
    const int row = static_cast<int>(i);
    const std::uint32_t fieldValue = registers::fieldValue(value, field);
    if (!same) {
      QTableWidgetItem* name = fixedItem(field.name);
      name->setToolTip(QString::fromStdString(field.description));
      fields_->setItem(row, 0, name);
      fields_->setItem(row, 1, fixedItem(registers::fieldBitsText(field)));
    }
    QWidget* shown = same ? fields_->cellWidget(row, kValueColumn) : nullptr;
    if (field.values.empty()) {
      showFieldNumber(row, index, i, qobject_cast<QLineEdit*>(shown), fieldValue);
    } else {
      showFieldChoice(row, index, i, qobject_cast<QComboBox*>(shown), fieldValue);
    }
  }
  fields_->resizeColumnToContents(0);
  fields_->resizeColumnToContents(1);
}

void RegisterMapWindow::showFieldNumber(int row, std::size_t index, std::size_t i,
                                        QLineEdit* shown, std::uint32_t value) {
  const registers::Register& reg = table_.map().registers.at(index);
  const registers::Field& field = reg.fields.at(i);
  QLineEdit* edit = shown;
  if (edit == nullptr) {
    edit = new QLineEdit;
    edit->setObjectName(QString::fromStdString("field_" + field.name));
    edit->setEnabled(reg.writable());
    connect(edit, &QLineEdit::editingFinished, this, [this, edit, index, i, field] {
      trapped([&] {
        if (!edit->isModified()) return;
        edit->setModified(false);
        const auto typed = registers::valueFromText(edit->text().toStdString(), 4);
        if (!typed || *typed > field.mask()) {
          say("Field " + field.name + " takes a hex value of " + std::to_string(field.width()) +
              " bits, not '" + edit->text().toStdString() + "'");
          return;
        }
        writeFieldValue(index, i, *typed);
      });
    });
    fields_->setCellWidget(row, kValueColumn, edit);
  }
  // A value being typed stays as typed until it is written.
  if (edit->isModified()) return;
  const QSignalBlocker quiet(edit);
  edit->setText(QString::fromStdString(registers::valueHex(value, 0)));
}

void RegisterMapWindow::showFieldChoice(int row, std::size_t index, std::size_t i,
                                        QComboBox* shown, std::uint32_t value) {
  const registers::Register& reg = table_.map().registers.at(index);
  const registers::Field& field = reg.fields.at(i);
  QComboBox* box = shown;
  if (box == nullptr) {
    box = new QComboBox;
    box->setObjectName(QString::fromStdString("field_" + field.name));
    box->setEnabled(reg.writable());
    for (const registers::NamedValue& named : field.values) {
      box->addItem(QString::fromStdString(registers::fieldValueText(field, named.value)),
                   QVariant::fromValue(named.value));
    }
    connect(box, &QComboBox::activated, this, [this, box, index, i](int entry) {
      trapped([&] { writeFieldValue(index, i, box->itemData(entry).value<std::uint32_t>()); });
    });
    fields_->setCellWidget(row, kValueColumn, box);
  }
  // An open list stays on the entry the user is choosing.
  if (box->view()->isVisible()) return;
  const QSignalBlocker quiet(box);
  box->setCurrentIndex(entryFor(*box, field, value));
}

}  // namespace brelvion::gui::registermap
