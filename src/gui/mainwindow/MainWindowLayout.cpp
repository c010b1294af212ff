// The scrolled panel: the viewport, the two bars and what moving them does.
#include <QScrollBar>

#include "base/RuntimeError.h"
#include "core/BusCommandGuard.h"
#include "desktop/ErrorBox.h"
#include "desktop/ErrorTrap.h"
#include "gui/mainwindow/MainWindow.h"

namespace brelvion::gui::mainwindow {

namespace {

QRect toQRect(const windowlogic::PixelRect& r) { return {r.left, r.top, r.width, r.height}; }

}  // namespace

windowlogic::ScrollLayoutInput MainWindow::scrollLayoutInput() const {
  return {c_.client->width(), c_.client->height(),        c_.panel->width(),
          c_.panel->height(), c_.horizontalBar->height(), c_.verticalBar->width()};
}

void MainWindow::initScrollArea() {
  c_.panel->move(0, 0);
  applyScrollLayout(windowlogic::computeScrollLayout(scrollLayoutInput()));
}

void MainWindow::layOutClientArea() {
  try {
    applyScrollLayout(windowlogic::computeScrollLayout(scrollLayoutInput()));
  } catch (...) {
    const base::RuntimeError error = desktop::currentError();
    // A window too small for the bars (minimized, say) keeps its last layout silently.
    if (error.number() == base::RuntimeError::kInvalidCall) return;
    desktop::showErrorBox(windows_, error, kFormResizeTitle, desktop::MessageIcon::Information);
  }
}

void MainWindow::applyScrollLayout(const windowlogic::ScrollLayout& layout) {
  c_.viewport->setGeometry(toQRect(layout.viewport));
  c_.horizontalBar->setGeometry(toQRect(layout.hBar));
  c_.verticalBar->setGeometry(toQRect(layout.vBar));
  // A lowered maximum pulls a value beyond it back to the maximum; the bar then reports
  // the change, and the panel follows.
  c_.horizontalBar->setRange(0, layout.hMaximum);
  c_.verticalBar->setRange(0, layout.vMaximum);
  c_.verticalBar->setVisible(layout.vVisible);
  c_.horizontalBar->setVisible(layout.hVisible);
  c_.panel->move(-c_.horizontalBar->value(), -c_.verticalBar->value());
}

void MainWindow::scrolledHorizontally() {
  c_.panel->move(-c_.horizontalBar->value(), c_.panel->y());
}
void MainWindow::scrolledVertically() { c_.panel->move(c_.panel->x(), -c_.verticalBar->value()); }

}  // namespace brelvion::gui::mainwindow
