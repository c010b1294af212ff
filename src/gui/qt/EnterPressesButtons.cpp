#include "gui/qt/EnterPressesButtons.h"

#include <QKeyEvent>
#include <QPushButton>

namespace brelvion::gui::qt {

namespace {

class EnterPresses : public QObject {
 public:
  using QObject::QObject;

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override {
    if (event->type() != QEvent::KeyPress) return false;
    const auto* key = static_cast<QKeyEvent*>(event);
    if (key->key() != Qt::Key_Return && key->key() != Qt::Key_Enter) return false;
    if ((key->modifiers() & ~Qt::KeypadModifier) != Qt::NoModifier) return false;
    auto* button = qobject_cast<QPushButton*>(watched);
    if (button == nullptr || !button->isEnabled() || !button->isVisible()) return false;
    button->click();
    return true;
  }
};

}  // namespace

void letEnterPressButtons(QWidget& window) {
  auto* presses = new EnterPresses(&window);
  for (QPushButton* button : window.findChildren<QPushButton*>()) {
    button->installEventFilter(presses);
  }
}

}  // namespace brelvion::gui::qt
