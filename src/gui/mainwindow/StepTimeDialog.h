#pragma once

#include <QDialog>
#include <string>

#include "windowlogic/BusLineControls.h"

class QLineEdit;

namespace brelvion::gui::mainwindow {

// The Bus menu's Step Time dialog: the line step in microseconds and the stretch timeout in
// milliseconds. OK asks the window to apply the two texts (windowlogic::applyStepTime
// decides); the window closes the dialog once they are applied. Control names:
// stepTimeStep, stepTimeStretch, stepTimeButtons.
class StepTimeDialog : public QDialog {
  Q_OBJECT

 public:
  explicit StepTimeDialog(QWidget* parent = nullptr);

  // Fills the fields with the values in use, the step first and selected.
  void showValues(long stepUs, long stretchTimeoutMs);
  std::string stepText() const;
  std::string stretchTimeoutText() const;
  // Puts the focus into field, its text selected, for the user to correct it.
  void focusField(windowlogic::StepTimeField field);

 signals:
  void applyRequested();

 private:
  QLineEdit* step_ = nullptr;
  QLineEdit* stretchTimeout_ = nullptr;
};

}  // namespace brelvion::gui::mainwindow
