// The Bus menu's line controls: Recover Bus and the Step Time dialog.
#include <QAction>
#include <QMenu>

#include "gui/mainwindow/MainWindow.h"
#include "gui/mainwindow/StepTimeDialog.h"
#include "windowlogic/BusLineControls.h"

namespace brelvion::gui::mainwindow {

void addLineControlItems(MainWindowControls& c) {
  c.busMenu->addSeparator()->setObjectName("mnuBusSp1");
  c.recoverAction = c.busMenu->addAction("Re&cover Bus");
  c.recoverAction->setObjectName("mnuBusRecover");
  c.stepTimeAction = c.busMenu->addAction("Step &Time...");
  c.stepTimeAction->setObjectName("mnuBusStepTime");
}

void MainWindow::recoverBus() {
  busCommand(windowlogic::kRecoverBusName, [this] { windowlogic::recoverBus(core_); });
}

void MainWindow::chooseStepTime() {
  if (stepTimeDialog_ == nullptr) {
    stepTimeDialog_ = new StepTimeDialog(this);
    connect(stepTimeDialog_, &StepTimeDialog::applyRequested, this,
            [this] { trapped([this] { applyStepTime(); }); });
  }
  const bus::BusEngine& engine = core_.engine();
  stepTimeDialog_->showValues(engine.stepTime().count(), engine.stretchTimeout().count());
  stepTimeDialog_->open();
}

// Between two bus commands: a step time changed inside one would change the timing of its
// remaining steps.
void MainWindow::applyStepTime() {
  auto field = windowlogic::StepTimeField::None;
  const bool ran = busCommand(windowlogic::kStepTimeTitle, [&] {
    field = windowlogic::applyStepTime(core_.engine(), stepTimeDialog_->stepText(),
                                       stepTimeDialog_->stretchTimeoutText(), windows_);
  });
  if (!ran) return;
  if (field == windowlogic::StepTimeField::None) {
    stepTimeDialog_->accept();
  } else {
    stepTimeDialog_->focusField(field);
  }
}

}  // namespace brelvion::gui::mainwindow
