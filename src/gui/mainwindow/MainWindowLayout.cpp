// The scrolled panel: the viewport, the two bars and what moving them does.
#include <QScrollBar>

#include "base/RuntimeError.h"
#include "core/BusCommandGuard.h"
#include "desktop/ErrorTrap.h"
#include "gui/mainwindow/MainWindow.h"

namespace brelvion::gui::mainwindow {

namespace {

QRect toQRect(const windowlogic::PixelRect& r) { return {r.left, r.top, r.width, r.height}; }

}  // namespace

windowlogic::ScrollLayoutInput MainWindow::scrollLayoutInput() const {
  return {c_.client->width(),    c_.client->height(),   c_.Picture2->width(),
          c_.Picture2->height(), c_.HScroll1->height(), c_.VScroll1->width()};
}

void MainWindow::InitScrollArea() {
  c_.Picture2->move(0, 0);
  applyScrollLayout(windowlogic::computeScrollLayout(scrollLayoutInput()));
}

void MainWindow::Form_Resize() {
  try {
    applyScrollLayout(windowlogic::computeScrollLayout(scrollLayoutInput()));
  } catch (...) {
    const base::RuntimeError error = desktop::currentError();
    // A window too small for the bars (minimized, say) keeps its last layout silently.
    if (error.number() == base::RuntimeError::kInvalidCall) return;
    windows_.messageBox({error.boxText(), kFormResizeTitle, desktop::MessageIcon::Information,
                         desktop::MessageButtons::Ok});
  }
}

void MainWindow::applyScrollLayout(const windowlogic::ScrollLayout& layout) {
  c_.Picture1->setGeometry(toQRect(layout.viewport));
  c_.HScroll1->setGeometry(toQRect(layout.hBar));
  c_.VScroll1->setGeometry(toQRect(layout.vBar));
  // A lowered maximum pulls a value beyond it back to the maximum; the bar then reports
  // the change, and the panel follows.
  c_.HScroll1->setRange(0, layout.hMaximum);
  c_.VScroll1->setRange(0, layout.vMaximum);
  c_.VScroll1->setVisible(layout.vVisible);
  c_.HScroll1->setVisible(layout.hVisible);
  c_.Picture2->move(-c_.HScroll1->value(), -c_.VScroll1->value());
}

void MainWindow::HScroll1_Change() { c_.Picture2->move(-c_.HScroll1->value(), c_.Picture2->y()); }
void MainWindow::VScroll1_Change() { c_.Picture2->move(c_.Picture2->x(), -c_.VScroll1->value()); }

}  // namespace brelvion::gui::mainwindow
