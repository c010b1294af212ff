// The command files, the dump, the File and Help menus and the program's end.
#include <QApplication>
#include <QCloseEvent>
#include <QFile>
#include <QKeyEvent>
#include <QPushButton>
#include <QStatusBar>

#include "base/RuntimeError.h"
#include "base/Text.h"
#include "commandfiles/Dump.h"
#include "commandfiles/FileMenu.h"
#include "commandfiles/SendStatus.h"
#include "commandfiles/TmpFile.h"
#include "desktop/HelpDocuments.h"
#include "gui/mainwindow/EntryField.h"
#include "gui/mainwindow/MainWindow.h"
#include "scripts/ScriptReader.h"

namespace brelvion::gui::mainwindow {

namespace {

// File names go to and come from the fields in the file system's encoding.
QString pathText(const std::string& path) { return QFile::decodeName(path.c_str()); }
std::string pathOf(const QLineEdit* field) {
  return QFile::encodeName(field->text()).toStdString();
}

// Runs its work when the scope is left, on every path out.
template <typename Work>
class AtExit {
 public:
  explicit AtExit(Work work) : work_(std::move(work)) {}
  ~AtExit() { work_(); }
  AtExit(const AtExit&) = delete;
  AtExit& operator=(const AtExit&) = delete;

 private:
  Work work_;
};

}  // namespace

// ---- Send File and Open ----

void MainWindow::sendFile() {
  busCommand("Send File", [this] { sendChosenFile(); });
}

void MainWindow::sendChosenFile() {
  c_.sendFileButton->setEnabled(false);
  initDeviceMonitor();
  const AtExit restore([this] {
    sending_ = false;
    initDeviceMonitor();
    c_.sendFileButton->setEnabled(true);
  });
  if (core_.values().fileEdited) c_.fileName->setText(pathText(lastChosenFile_));
  const std::string chosen = base::trimmed(pathOf(c_.fileName));
  if (scripts::isScriptFileName(chosen)) {
    sendScript(chosen);
    return;
  }

  commandfiles::SendHooks hooks;
  // Painted in the yield that follows the write.
  hooks.progress = [this](long long index, long long total) {
    sendTotal_ = total;
    statusBar()->showMessage(QString::fromStdString(commandfiles::writeProgressText(index, total)));
  };
  hooks.updateDeviceMonitor = [this](bool acknowledged) { updateDeviceMonitor(acknowledged); };
  hooks.stopRequested = [this] { return stopRequested_ || ending_; };
  hooks.clock = sendClock_;
  hooks.yieldInPauses = true;
  stopRequested_ = false;
  sendTotal_ = 0;
  sending_ = true;
  commandfiles::SendOutcome outcome;
  const commandfiles::SendFileAction action =
      commandfiles::sendFile(core_, lastChosenFile_, sendOptions_, hooks, &outcome);
  sending_ = false;
  if (outcome.lastGroup) keepLastGroup(*outcome.lastGroup);
  if (action == commandfiles::SendFileAction::OpenInstead) {
    openCommandFile();
    return;
  }
  showSendEnd(commandfiles::sendEndText(outcome, sendTotal_));
}

// The register values hold the last group a command file's send read, until a field or a
// command sets them again.
void MainWindow::keepLastGroup(const commandfiles::ReadGroup& group) {
  fields_.deviceAddress = group.device;
  fields_.subAddress = group.subAddress;
  fields_.writeData = group.data;
}

void MainWindow::showSendEnd(const std::optional<std::string>& text) {
  if (ending_) return;
  if (text) {
    statusBar()->showMessage(QString::fromStdString(*text), kResultShownMs);
  } else {
    statusBar()->clearMessage();
  }
}

void MainWindow::openCommandFile() {
  try {
    commandfiles::cleanUp(core_);
    const std::string chosen = commandfiles::chooseCommandFile(windows_, lastChosenFile_);
    if (chosen.empty()) return;
    c_.fileName->setText(pathText(chosen));
    // A script is read as it is at each Send File; it has no comment-free copy.
    if (!scripts::isScriptFileName(chosen)) commandfiles::prepareCommandFile(core_, chosen);
  } catch (const base::RuntimeError& error) {
    commandfiles::reportFailure(windows_, commandfiles::Step::Open, error);
  }
}

// ---- The editor and the help documents ----

void MainWindow::editFile() {
  if (c_.fileName->text().isEmpty()) openCommandFile();
  const std::string file = base::trimmed(pathOf(c_.fileName));
  if (file.empty()) return;
  if (commandfiles::startEditor(windows_, file, "editFile")) core_.values().fileEdited = true;
}

void MainWindow::newCommandFile() { commandfiles::startEditor(windows_, "", "newCommandFile"); }

void MainWindow::showToolHelp() { desktop::openHelpDocument(windows_, desktop::kToolHelpName); }

void MainWindow::showBusHelp() { desktop::openHelpDocument(windows_, desktop::kBusHelpName); }

void MainWindow::showCableSchematic() {
  desktop::openHelpDocument(windows_, desktop::kCableHelpName);
}

// ---- Dump to File ----

void MainWindow::dumpToFile() {
  busCommand("Dump to File", [this] { dumpRegistersToFile(); });
}

void MainWindow::dumpRegistersToFile() {
  std::int16_t count = 0;
  try {
    count = commandfiles::parseDumpCount(c_.lineCount->text().toLatin1().toStdString());
  } catch (const base::RuntimeError& error) {
    commandfiles::reportDumpError(windows_, error);
    return;
  }
  deviceAddressChanged();
  subAddressChanged();

  bool waiting = false;
  const AtExit restoreCursor([&waiting] {
    if (waiting) QApplication::restoreOverrideCursor();
  });
  commandfiles::DumpHooks hooks;
  // The dump does not yield, so the line is painted now.
  hooks.running = [this, &waiting, count] {
    QApplication::setOverrideCursor(Qt::WaitCursor);
    waiting = true;
    statusBar()->showMessage(QString("Dump to File: reading registers 0 to %1").arg(count));
    statusBar()->repaint();
  };
  const std::string fileText = pathOf(c_.dumpFileName);
  switch (commandfiles::dumpToFile(core_.master(), readPointerThen(), core_.desktop(),
                                   fields_.deviceAddress, count, fileText, hooks)) {
    case commandfiles::DumpEnd::Written:
      statusBar()->showMessage(QString("Dump to File: %1 registers written to %2")
                                   .arg(count + 1)
                                   .arg(pathText(base::trimmed(fileText))),
                               kResultShownMs);
      break;
    case commandfiles::DumpEnd::FocusDeviceAddress:
      c_.deviceAddress->setFocus();
      break;
    case commandfiles::DumpEnd::FocusLineCount:
      c_.lineCount->setFocus();
      break;
    case commandfiles::DumpEnd::Failed:
    case commandfiles::DumpEnd::NoFileName:
      statusBar()->clearMessage();
      break;
  }
}

// ---- Exit and the program's end ----

void MainWindow::exitProgram() { close(); }

void MainWindow::closeEvent(QCloseEvent* event) {
  event->accept();
  if (!ending_) cleanUpAndEnd();
}

// A failed deletion is reported and never keeps the program from ending.
void MainWindow::cleanUpAndEnd() {
  trapped([this] { commandfiles::cleanUp(core_); });
  endProgram();
}

// From here on no event reaches either window: a send that yielded stops after its write,
// and whatever was still queued (a click, a key, a repaint) is dropped.
void MainWindow::endProgram() {
  ending_ = true;
  stopRequested_ = true;
  programEnd_();
}

bool MainWindow::watchProgramEvent(QObject* watched, QEvent* event) {
  if (ending_) {
    return event->type() != QEvent::DeferredDelete &&
           (watched->isWidgetType() || watched->isWindowType());
  }
  // Exit's Ctrl+X is the fields' Cut too; the menu's shortcut wins, whichever field has the
  // focus, so Ctrl+X always leaves the program.
  if (event->type() == QEvent::ShortcutOverride && watched->isWidgetType() &&
      static_cast<QWidget*>(watched)->window() == this &&
      static_cast<QKeyEvent*>(event)->keyCombination() ==
          QKeyCombination(Qt::ControlModifier, Qt::Key_X)) {
    return true;
  }
  if (sending_ && event->type() == QEvent::KeyPress &&
      static_cast<QKeyEvent*>(event)->key() == Qt::Key_Escape &&
      QApplication::activeModalWidget() == nullptr) {
    stopRequested_ = true;
    statusBar()->showMessage("Send File: stopping after this write");
    return true;
  }
  return false;
}

}  // namespace brelvion::gui::mainwindow
