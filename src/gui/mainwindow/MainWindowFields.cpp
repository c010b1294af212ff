// The entry fields' handlers: what a changed text means, and the focus behaviour.
#include <QPushButton>

#include "gui/mainwindow/EntryField.h"
#include "gui/mainwindow/MainWindow.h"
#include "numconv/HexByteValue.h"
#include "windowlogic/FieldValues.h"

namespace brelvion::gui::mainwindow {

namespace {

std::string latin1(const QLineEdit* field) { return field->text().toLatin1().toStdString(); }

void selectAll(QLineEdit* field) { field->setSelection(0, static_cast<int>(field->text().size())); }

}  // namespace

void MainWindow::connectFieldHandlers() {
  handle(c_.Text2, &QLineEdit::textChanged, &MainWindow::Text2_Change);
  handle(c_.Text3, &QLineEdit::textChanged, &MainWindow::text3_Change);
  handle(c_.Text4, &QLineEdit::textChanged, &MainWindow::Text4_Change);
  handle(c_.Text6, &QLineEdit::textChanged, &MainWindow::Text6_Change);
  handle(c_.Text7, &QLineEdit::textChanged, &MainWindow::Text7_Change);
  handle(c_.Text2, &EntryField::gotFocus, &MainWindow::Text2_GotFocus);
  handle(c_.Text3, &EntryField::gotFocus, &MainWindow::Text3_GotFocus);
  handle(c_.Text4, &EntryField::gotFocus, &MainWindow::Text4_GotFocus);
  handle(c_.Text6, &EntryField::gotFocus, &MainWindow::Text6_GotFocus);
  handle(c_.Text7, &EntryField::gotFocus, &MainWindow::Text7_GotFocus);
  handle(c_.txtCnt, &EntryField::gotFocus, &MainWindow::txtCnt_GotFocus);
  handle(c_.Text6, &EntryField::lostFocus, &MainWindow::Text6_LostFocus);
  handle(c_.Text7, &EntryField::lostFocus, &MainWindow::Text7_LostFocus);
  handle(c_.Text5, &EntryField::gotFocus, &MainWindow::Text5_GotFocus);
}

void MainWindow::Text2_Change() {
  if (!windowlogic::ApplyAddressField(latin1(c_.Text2), core_.values().DeviceAddress, windows_,
                                      windowlogic::kAddressChangedTitle)) {
    c_.Text2->setFocus();
  }
}

void MainWindow::text3_Change() {
  if (!windowlogic::ApplyAddressField(latin1(c_.Text3), core_.values().SubAddress, windows_,
                                      windowlogic::kSubAddressChangedTitle)) {
    c_.Text3->setFocus();
  }
}

void MainWindow::Text4_Change() {
  core_.values().WriteData = numconv::HexByteValue(latin1(c_.Text4));
}

void MainWindow::Text6_Change() { UpdateCommandDelay(); }
void MainWindow::Text7_Change() { UpdateCommandDelay(); }

// Putting a default back into an emptied field runs this once more, nested, before the
// outer run goes on; both end with the same delay.
void MainWindow::UpdateCommandDelay() {
  if (c_.Text6->text().isEmpty()) c_.Text6->setText("0");
  if (c_.Text7->text().isEmpty()) c_.Text7->setText("00");
  windowlogic::ApplyCommandDelay(latin1(c_.Text6), latin1(c_.Text7), core_.values().CommandDelay,
                                 windows_);
}

void MainWindow::Text2_GotFocus() { selectAll(c_.Text2); }
void MainWindow::Text3_GotFocus() { selectAll(c_.Text3); }
void MainWindow::Text4_GotFocus() { selectAll(c_.Text4); }
void MainWindow::Text6_GotFocus() { selectAll(c_.Text6); }
void MainWindow::Text7_GotFocus() { selectAll(c_.Text7); }

// The dump count's field has a trap of its own with the default title.
void MainWindow::txtCnt_GotFocus() {
  try {
    selectAll(c_.txtCnt);
  } catch (const std::exception& error) {
    windows_.messageBox(
        {error.what(), "", desktop::MessageIcon::Exclamation, desktop::MessageButtons::Ok});
  }
}

void MainWindow::Text6_LostFocus() { c_.Text6->deselect(); }
void MainWindow::Text7_LostFocus() { c_.Text7->deselect(); }

// The command file's name is only ever set by the program: the focus goes on to Send File.
void MainWindow::Text5_GotFocus() { c_.Command1->setFocus(); }

}  // namespace brelvion::gui::mainwindow
