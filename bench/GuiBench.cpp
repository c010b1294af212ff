// Figures of the windows at work, with the goals they are held to: a burst of trace lines
// into a shown debugger window, and one Send Register with the debugger window shown. Runs
// on any Qt platform; bench/gui-bench.sh runs it under Xvfb so painting costs what it does
// on a desktop.
#include <QApplication>
#include <QElapsedTimer>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QThread>
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <string>

#include "bus/BusMessages.h"
#include "core/ToolCore.h"
#include "gui/debugger/DebuggerWindow.h"
#include "gui/debugger/DebuggerWindowHolder.h"
#include "gui/mainwindow/MainWindow.h"
#include "gui/qt/QtWindowSystem.h"
#include "port/simulated/SimulatedParallelPort.h"
#include "trace/DebugLog.h"

namespace brelvion::bench {
namespace {

using Clock = std::chrono::steady_clock;
constexpr int kMessages = 10000;
constexpr double kBound = 250;
constexpr int kGiveUpMs = 10000;

double msSince(Clock::time_point start) {
  return std::chrono::duration<double, std::milli>(Clock::now() - start).count();
}

void report(const char* what, double value, const char* unit, const char* goal, bool met) {
  std::printf("%-52s %10.1f %-4s %-22s %s\n", what, value, unit, goal,
              goal[0] == '\0' ? "" : (met ? "met" : "MISSED"));
}

// Lets events run until the trace box shows text ending in `line`; the milliseconds that
// took, or a negative value when it never did.
double msUntilShown(const QPlainTextEdit& box, const std::string& line) {
  const QString wanted = QString::fromLatin1(line.data(), qsizetype(line.size()));
  const auto start = Clock::now();
  while (!box.toPlainText().endsWith(wanted)) {
    if (msSince(start) > kGiveUpMs) return -1;
    QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
  }
  return msSince(start);
}

// Shows a window and lets it be mapped and painted before anything is timed.
void showAndSettle(QWidget& window) {
  window.show();
  const auto start = Clock::now();
  while (msSince(start) < 300) {
    QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
    QThread::msleep(5);
  }
}

const QPlainTextEdit& traceBox(const gui::debugger::DebuggerWindowHolder& monitor) {
  return *monitor.window()->findChild<QPlainTextEdit*>(QStringLiteral("I2Cmonitor"));
}

void burstIntoShownWindow() {
  gui::qt::QtWindowSystem windows;
  port::simulated::SimulatedParallelPort port;
  gui::debugger::DebuggerWindowHolder monitor(windows);
  core::ToolCore core(port, windows, monitor);
  monitor.attach(core);
  core.busState().DebugEnabled = 1;
  core.debuggerState().TraceBufferSize = kBound;
  monitor.showWindow();
  showAndSettle(*monitor.window());

  std::string last;
  const auto start = Clock::now();
  for (int i = 0; i < kMessages; ++i) {
    last = "Wisp MSG004:  Transmitting data byte on bus " + std::to_string(i);
    core.log().LogMessage(last);
  }
  const double burstMs = msSince(start);
  const double shownMs = msUntilShown(traceBox(monitor), trace::padTraceLine(last));
  report("10,000 trace lines, bound 250, window shown", burstMs, "ms", "< 1000", burstMs < 1000);
  report("  then until the window shows the newest line", shownMs, "ms", "< 50",
         shownMs >= 0 && shownMs < 50);
}

void sendRegisterWithWindowShown() {
  gui::qt::QtWindowSystem windows;
  port::simulated::SimulatedParallelPort port;
  gui::debugger::DebuggerWindowHolder monitor(windows);
  core::ToolCore core(port, windows, monitor);
  monitor.attach(core);
  gui::mainwindow::MainWindow window(core, windows, monitor);
  window.setProgramEnd([] {});
  window.startUp();
  monitor.showWindow();
  showAndSettle(*monitor.window());
  auto* sendRegister = window.findChild<QPushButton*>(QStringLiteral("Command2"));

  double best = 1e300;
  double bestShown = 1e300;
  for (int run = 0; run < 5; ++run) {
    // An empty trace box first, so that only this command's last line can end it.
    monitor.replaceText("");
    showAndSettle(*monitor.window());
    const auto start = Clock::now();
    sendRegister->click();
    const double ms = msSince(start);
    // The last step of a Send Register is the read-back's STOP.
    const double shown = msUntilShown(traceBox(monitor), trace::padTraceLine(bus::kMsgStop));
    best = std::min(best, ms);
    bestShown = std::min(bestShown, shown < 0 ? 1e300 : shown);
  }
  report("Send Register, debugger window shown (best of 5)", best, "ms", "", true);
  report("  then until the window shows its last line", bestShown, "ms", "", true);
}

}  // namespace
}  // namespace brelvion::bench

int main(int argc, char** argv) {
  QApplication app(argc, argv);
  const std::string heading =
      "figure (Qt platform " + QApplication::platformName().toStdString() + ")";
  std::printf("%-52s %10s %-4s %-22s %s\n", heading.c_str(), "value", "unit", "goal", "");
  brelvion::bench::burstIntoShownWindow();
  brelvion::bench::sendRegisterWithWindowShown();
  return 0;
}
