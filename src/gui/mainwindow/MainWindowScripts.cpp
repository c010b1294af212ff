// Send File on a bring-up script (.i2cs) and the Bus menu's item for it.
#include <QAction>
#include <QMenu>
#include <QPushButton>
#include <QStatusBar>

#include "gui/mainwindow/MainWindow.h"

namespace brelvion::gui::mainwindow {

// Below the Bus menu's other items: off at start, so a script stops at its first missing
// acknowledge unless asked otherwise.
void MainWindow::addScriptItems() {
  c_.busMenu->addSeparator()->setObjectName("mnuBusScriptsSp");
  keepGoingAction_ = c_.busMenu->addAction("Scripts &Go On after NO ACK");
  keepGoingAction_->setObjectName("mnuBusKeepGoing");
  keepGoingAction_->setCheckable(true);
  keepGoingAction_->setChecked(false);
}

// Inside sendChosenFile, which disables Send File and restores it and the indicator.
void MainWindow::sendScript(const std::string& path) {
  commandfiles::SendHooks hooks;
  hooks.progress = [this](long long index, long long total) {
    statusBar()->showMessage(
        QString("Send File: command %1 of %2 (Esc stops)").arg(index).arg(total));
  };
  hooks.UpdateDeviceMonitor = [this](bool acknowledged) { UpdateDeviceMonitor(acknowledged); };
  hooks.stopRequested = [this] { return stopRequested_ || ending_; };
  hooks.clock = scriptClock_ != nullptr && core_.adapter() == nullptr ? scriptClock_ : sendClock_;
  stopRequested_ = false;
  sending_ = true;
  const commandfiles::ScriptSendOutcome outcome =
      commandfiles::SendScriptFile(core_, path, hooks, keepGoingAction_->isChecked());
  sending_ = false;
  showScriptSendEnd(outcome);
}

void MainWindow::showScriptSendEnd(const commandfiles::ScriptSendOutcome& outcome) {
  if (ending_) return;
  QString text;
  switch (outcome.end) {
    case commandfiles::SendEnd::Completed:
      text = outcome.commands == 1 ? QString("Send File: 1 command sent")
                                   : QString("Send File: %1 commands sent").arg(outcome.commands);
      if (outcome.unacknowledged > 0) {
        text += QString(", %1 not acknowledged").arg(outcome.unacknowledged);
      }
      break;
    case commandfiles::SendEnd::Stopped:
      text = QString("Send File stopped after command %1 of %2")
                 .arg(outcome.commands)
                 .arg(outcome.total);
      break;
    case commandfiles::SendEnd::Failed:
      statusBar()->clearMessage();
      return;
  }
  statusBar()->showMessage(text, kResultShownMs);
}

}  // namespace brelvion::gui::mainwindow
