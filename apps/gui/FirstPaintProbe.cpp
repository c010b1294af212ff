#include "FirstPaintProbe.h"

#include <QApplication>
#include <QEvent>
#include <QTimer>
#include <cstdio>
#include <cstdlib>
#include <string>

namespace brelvion::apps::gui {

namespace {

class FirstPaintExit : public QObject {
 public:
  FirstPaintExit(const QWidget& window, const QElapsedTimer& sinceMain)
      : window_(window), sinceMain_(sinceMain) {}
  bool painted() const { return painted_; }
  void report() {
    if (reported_) return;
    reported_ = true;
    std::printf("first paint %.1f ms after main()\n", double(sinceMain_.nsecsElapsed()) / 1e6);
    std::fflush(stdout);
  }

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override {
    const auto* widget = qobject_cast<QWidget*>(watched);
    if (painted_ || event->type() != QEvent::Paint || !widget || widget->window() != &window_) {
      return false;
    }
    painted_ = true;
    // Reported once this paint is over and on the screen, not as it begins.
    QTimer::singleShot(0, this, [this] {
      report();
      QCoreApplication::exit(0);
    });
    return false;
  }

 private:
  const QWidget& window_;
  const QElapsedTimer& sinceMain_;
  bool painted_ = false;
  bool reported_ = false;
};

bool measuring() {
  const char* value = std::getenv("BRELVION_EXIT_AFTER_FIRST_PAINT");
  return value != nullptr && std::string(value) == "1";
}

}  // namespace

int execWithFirstPaintProbe(const QWidget& window, const QElapsedTimer& sinceMain,
                            const std::function<void()>& start) {
  if (!measuring()) {
    start();
    return QApplication::exec();
  }
  FirstPaintExit firstPaint(window, sinceMain);
  qApp->installEventFilter(&firstPaint);
  start();
  if (firstPaint.painted()) {
    firstPaint.report();
    return 0;
  }
  return QApplication::exec();
}

}  // namespace brelvion::apps::gui
