// The scrolled panel: the viewport, the two bars and what moving them does.
#include <QScrollBar>

#include "mainwindow/HandlerGuard.h"
#include "platform/HandlerGuard.h"
#include "mainwindow/MainWindow.h"
#include "platform/RuntimeError.h"

namespace brelvion::mainwindow {

namespace {

QRect toQRect(const PixelRect& r) { return {r.left, r.top, r.width, r.height}; }

}  // namespace

ScrollLayoutInput MainWindow::scrollLayoutInput() const {
  return {c_.client->width(),    c_.client->height(),   c_.Picture2->width(),
          c_.Picture2->height(), c_.HScroll1->height(), c_.VScroll1->width()};
}

void MainWindow::InitScrollArea() {
  c_.Picture2->move(0, 0);
  applyScrollLayout(computeScrollLayout(scrollLayoutInput()));
}

void MainWindow::Form_Resize() {
  try {
    applyScrollLayout(computeScrollLayout(scrollLayoutInput()));
  } catch (...) {
    const platform::RuntimeError error = platform::currentError();
    // A window too small for the bars (minimized, say) keeps its last layout silently.
    if (error.number() == platform::RuntimeError::kInvalidCall) return;
    windows_.messageBox({error.boxText(), kFormResizeTitle, platform::MessageIcon::Information,
                         platform::MessageButtons::Ok});
  }
}

void MainWindow::applyScrollLayout(const ScrollLayout& layout) {
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

}  // namespace brelvion::mainwindow
