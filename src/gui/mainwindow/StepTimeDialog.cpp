#include "gui/mainwindow/StepTimeDialog.h"

#include <QDialogButtonBox>
#include <QFormLayout>
#include <QLabel>
#include <QLineEdit>
#include <QVBoxLayout>

namespace brelvion::gui::mainwindow {

namespace {

// Room for the longest value a field takes (10000) and a blank or two.
constexpr int kFieldLength = 6;

QLineEdit* numberField(QWidget* parent, const char* name) {
  auto* field = new QLineEdit(parent);
  field->setObjectName(name);
  field->setMaxLength(kFieldLength);
  field->setAlignment(Qt::AlignRight);
  field->setFixedWidth(field->fontMetrics().horizontalAdvance(QString(kFieldLength + 2, '0')));
  return field;
}

}  // namespace

StepTimeDialog::StepTimeDialog(QWidget* parent) : QDialog(parent) {
  setObjectName("StepTimeDialog");
  setWindowTitle(windowlogic::kStepTimeTitle);
  step_ = numberField(this, "stepTimeStep");
  stretchTimeout_ = numberField(this, "stepTimeStretch");
  auto* hint = new QLabel(
      QString::fromUtf8("Each line step lasts at least the line step (5\u00a0µs: I2C standard "
                        "mode). A slave may hold SCL low up to the stretch timeout where the "
                        "lines read SCL back (GPIO lines); the parallel-port cable cannot."),
      this);
  hint->setObjectName("stepTimeHint");
  hint->setWordWrap(true);
  auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
  buttons->setObjectName("stepTimeButtons");

  auto* fields = new QFormLayout;
  fields->addRow(QString::fromUtf8("Line step (µs, 5 to 1000):"), step_);
  fields->addRow("Stretch timeout (ms, 1 to 10000):", stretchTimeout_);
  auto* layout = new QVBoxLayout(this);
  layout->addLayout(fields);
  layout->addWidget(hint);
  layout->addWidget(buttons);
  // As wide as the fields' captions want, so that the hint wraps to their width.
  hint->setMaximumWidth(fields->sizeHint().width());

  connect(buttons, &QDialogButtonBox::accepted, this, &StepTimeDialog::applyRequested);
  connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
}

void StepTimeDialog::showValues(long stepUs, long stretchTimeoutMs) {
  step_->setText(QString::number(stepUs));
  stretchTimeout_->setText(QString::number(stretchTimeoutMs));
  focusField(windowlogic::StepTimeField::Step);
}

std::string StepTimeDialog::stepText() const { return step_->text().toStdString(); }

std::string StepTimeDialog::stretchTimeoutText() const {
  return stretchTimeout_->text().toStdString();
}

void StepTimeDialog::focusField(windowlogic::StepTimeField field) {
  QLineEdit* shown = field == windowlogic::StepTimeField::StretchTimeout ? stretchTimeout_ : step_;
  shown->setFocus(Qt::OtherFocusReason);
  shown->selectAll();
}

}  // namespace brelvion::gui::mainwindow
