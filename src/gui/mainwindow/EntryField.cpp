#include "gui/mainwindow/EntryField.h"

#include <QFocusEvent>

namespace brelvion::gui::mainwindow {

void EntryField::focusInEvent(QFocusEvent* event) {
  QLineEdit::focusInEvent(event);
  focusedByThisClick_ = event->reason() == Qt::MouseFocusReason;
  emit gotFocus();
}

void EntryField::focusOutEvent(QFocusEvent* event) {
  QLineEdit::focusOutEvent(event);
  focusedByThisClick_ = false;
  emit lostFocus();
}

void EntryField::mousePressEvent(QMouseEvent* event) {
  QLineEdit::mousePressEvent(event);
  // The click that brought the focus places the caret after the focus handler ran, which
  // would undo a select-all; the handler runs once more when the click is done.
  if (focusedByThisClick_ && hasFocus()) {
    focusedByThisClick_ = false;
    emit gotFocus();
  }
}

std::string latin1(const QLineEdit* field) { return field->text().toLatin1().toStdString(); }

}  // namespace brelvion::gui::mainwindow
