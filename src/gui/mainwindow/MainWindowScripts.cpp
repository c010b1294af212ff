// Send File on a bring-up script (.i2cs) and the Bus menu's item for it.
#include <QAction>
#include <QMenu>
#include <QPushButton>
#include <QStatusBar>

#include "commandfiles/SendStatus.h"
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
        QString::fromStdString(commandfiles::commandProgressText(index, total)));
  };
  hooks.updateDeviceMonitor = [this](bool acknowledged) { updateDeviceMonitor(acknowledged); };
  hooks.stopRequested = [this] { return stopRequested_ || ending_; };
  hooks.clock = scriptClock_ != nullptr && core_.adapter() == nullptr ? scriptClock_ : sendClock_;
  stopRequested_ = false;
  sending_ = true;
  const commandfiles::ScriptSendOutcome outcome =
      commandfiles::sendScriptFile(core_, path, hooks, keepGoingAction_->isChecked(),
                                   readPointerThen());
  sending_ = false;
  showSendEnd(commandfiles::sendEndText(outcome));
}

}  // namespace brelvion::gui::mainwindow
