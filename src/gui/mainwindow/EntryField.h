#pragma once

#include <QLineEdit>

#include <string>

namespace brelvion::gui::mainwindow {

// A text box that tells its window when it gets and loses the focus, so the window's
// focus handlers (select all, clear the selection, pass the focus on) can run.
class EntryField : public QLineEdit {
  Q_OBJECT

 public:
  using QLineEdit::QLineEdit;

 signals:
  void gotFocus();
  void lostFocus();

 protected:
  void focusInEvent(QFocusEvent* event) override;
  void focusOutEvent(QFocusEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;

 private:
  bool focusedByThisClick_ = false;
};

// A field's text in Latin-1, as the core takes it.
std::string latin1(const QLineEdit* field);

}  // namespace brelvion::gui::mainwindow
