#pragma once

class QWidget;

namespace brelvion::gui::qt {

// Enter (or the keypad's Enter) on a focused push button of window presses it, as Space
// does: the way the tool's users press buttons from the keyboard. For the buttons window
// holds when called.
void letEnterPressButtons(QWidget& window);

}  // namespace brelvion::gui::qt
