// The entry fields' handlers: what a changed text means, and the focus behaviour.
#include <QPushButton>

#include "gui/mainwindow/EntryField.h"
#include "gui/mainwindow/MainWindow.h"
#include "numconv/HexByteValue.h"
#include "windowlogic/FieldValues.h"

namespace brelvion::gui::mainwindow {

namespace {

void selectAll(QLineEdit* field) { field->setSelection(0, static_cast<int>(field->text().size())); }

}  // namespace

void MainWindow::connectFieldHandlers() {
  handle(c_.deviceAddress, &QLineEdit::textChanged, &MainWindow::deviceAddressChanged);
  handle(c_.subAddress, &QLineEdit::textChanged, &MainWindow::subAddressChanged);
  handle(c_.writeData, &QLineEdit::textChanged, &MainWindow::writeDataChanged);
  handle(c_.delaySeconds, &QLineEdit::textChanged, &MainWindow::delaySecondsChanged);
  handle(c_.delayFraction, &QLineEdit::textChanged, &MainWindow::delayFractionChanged);
  handle(c_.deviceAddress, &EntryField::gotFocus, &MainWindow::deviceAddressFocused);
  handle(c_.subAddress, &EntryField::gotFocus, &MainWindow::subAddressFocused);
  handle(c_.writeData, &EntryField::gotFocus, &MainWindow::writeDataFocused);
  handle(c_.delaySeconds, &EntryField::gotFocus, &MainWindow::delaySecondsFocused);
  handle(c_.delayFraction, &EntryField::gotFocus, &MainWindow::delayFractionFocused);
  handle(c_.lineCount, &EntryField::gotFocus, &MainWindow::lineCountFocused);
  handle(c_.delaySeconds, &EntryField::lostFocus, &MainWindow::delaySecondsLeft);
  handle(c_.delayFraction, &EntryField::lostFocus, &MainWindow::delayFractionLeft);
  handle(c_.fileName, &EntryField::gotFocus, &MainWindow::fileNameFocused);
}

void MainWindow::deviceAddressChanged() {
  if (!windowlogic::applyAddressField(latin1(c_.deviceAddress), fields_.deviceAddress,
                                      windows_, windowlogic::kAddressChangedTitle)) {
    c_.deviceAddress->setFocus();
  }
}

void MainWindow::subAddressChanged() {
  if (!windowlogic::applyAddressField(latin1(c_.subAddress), fields_.subAddress, windows_,
                                      windowlogic::kSubAddressChangedTitle)) {
    c_.subAddress->setFocus();
  }
}

void MainWindow::writeDataChanged() {
  fields_.writeData = numconv::hexByteValue(latin1(c_.writeData));
}

void MainWindow::delaySecondsChanged() { updateCommandDelay(); }
void MainWindow::delayFractionChanged() { updateCommandDelay(); }

// Putting a default back into an emptied field runs this once more, nested, before the
// outer run goes on; both end with the same delay.
void MainWindow::updateCommandDelay() {
  if (c_.delaySeconds->text().isEmpty()) c_.delaySeconds->setText("0");
  if (c_.delayFraction->text().isEmpty()) c_.delayFraction->setText("00");
  windowlogic::applyCommandDelay(latin1(c_.delaySeconds), latin1(c_.delayFraction),
                                 sendOptions_.commandDelay, windows_);
}

void MainWindow::deviceAddressFocused() { selectAll(c_.deviceAddress); }
void MainWindow::subAddressFocused() { selectAll(c_.subAddress); }
void MainWindow::writeDataFocused() { selectAll(c_.writeData); }
void MainWindow::delaySecondsFocused() { selectAll(c_.delaySeconds); }
void MainWindow::delayFractionFocused() { selectAll(c_.delayFraction); }

// The dump count's field has a trap of its own with the default title.
void MainWindow::lineCountFocused() {
  try {
    selectAll(c_.lineCount);
  } catch (const std::exception& error) {
    windows_.messageBox(
        {error.what(), "", desktop::MessageIcon::Exclamation, desktop::MessageButtons::Ok});
  }
}

void MainWindow::delaySecondsLeft() { c_.delaySeconds->deselect(); }
void MainWindow::delayFractionLeft() { c_.delayFraction->deselect(); }

// The command file's name is only ever set by the program: the focus goes on to Send File.
void MainWindow::fileNameFocused() { c_.sendFileButton->setFocus(); }

}  // namespace brelvion::gui::mainwindow
