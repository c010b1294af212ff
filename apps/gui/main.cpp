#include <QApplication>
#include <QElapsedTimer>
#include <QStringList>
#include <QTimer>
#include <cstdio>
#include <cstdlib>
#include <iostream>
#include <string>
#include <vector>

#include "GuiArguments.h"
#include "ProgramVersion.h"
#include "core/ToolCore.h"
#include "debugger/DebuggerWindowHolder.h"
#include "mainwindow/MainWindow.h"
#include "platform/BusCapture.h"
#include "platform/DocumentLookup.h"
#include "platform/RuntimeError.h"
#include "platform/qt/QtWindowSystem.h"

namespace {

constexpr const char* kProgram = "brelvion-i2c";
constexpr int kExitUsage = 2;

std::vector<std::string> argumentsAfterQt(const QStringList& arguments) {
  std::vector<std::string> args;
  for (qsizetype i = 1; i < arguments.size(); ++i) args.push_back(arguments[i].toStdString());
  return args;
}

bool printed(const std::string& text) {
  std::cout << text << std::flush;
  return static_cast<bool>(std::cout);
}

// The recording is written when the program ends, whole or not at all.
int writeCapture(const brelvion::platform::BusCapture& capture, const std::string& path) {
  try {
    capture.writeVcdFile(path);
    return 0;
  } catch (const brelvion::platform::RuntimeError& error) {
    std::cerr << kProgram << ": capture not written: " << error.description() << '\n';
    return 1;
  }
}

// For the start-up benchmark only (bench/gui-bench.sh): with BRELVION_EXIT_AFTER_FIRST_PAINT=1
// the program prints how long after main() its window was first painted, and ends.
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

}  // namespace

int main(int argc, char** argv) {
  using namespace brelvion;
  QElapsedTimer sinceMain;
  sinceMain.start();
  // Help and version need no window system, so they are answered before it starts.
  const auto early = gui::parseGuiArguments(std::vector<std::string>(argv + 1, argv + argc));
  if (std::holds_alternative<gui::HelpRequest>(early)) return printed(gui::guiUsageText()) ? 0 : 1;
  if (std::holds_alternative<gui::VersionRequest>(early)) {
    return printed(apps::versionText(kProgram)) ? 0 : 1;
  }

  QApplication app(argc, argv);
  app.setApplicationName(mainwindow::kWindowCaption);
  platform::setProgramDirectory(QCoreApplication::applicationDirPath().toStdString());
  const auto parsed = gui::parseGuiArguments(argumentsAfterQt(QApplication::arguments()));
  if (const auto* error = std::get_if<gui::UsageError>(&parsed)) {
    std::cerr << kProgram << ": " << error->message << " (--help explains)\n";
    return kExitUsage;
  }
  const auto& request = std::get<gui::GuiRequest>(parsed);
  const platform::sim::SimulatedBusConfig simulation = gui::simulationOf(request);
  platform::OpenedPort opened;
  try {
    opened = platform::openPortBackend(request.backend, simulation);
  } catch (const platform::RuntimeError& error) {
    std::cerr << kProgram << ": " << error.description() << '\n';
    return kExitUsage;
  }
  if (!opened.notice.empty()) std::cerr << kProgram << ": " << opened.notice << '\n';

  platform::qt::QtWindowSystem windows;
  debugger::DebuggerWindowHolder monitor(windows);
  core::ToolCore core(*opened.port, windows, monitor);
  monitor.attach(core);
  mainwindow::MainWindow window(core, windows, monitor);
  window.setBusNotice(QString::fromStdString(gui::busNoticeText(opened.backend, simulation)));

  platform::BusCapture capture;
  bool capturing = false;
  mainwindow::LoadOptions options;
  options.startPort = request.portIndex;
  options.onBusCleared = [&] {
    if (!request.capturePath || capturing) return;
    opened.port->setCapture(&capture);
    capturing = true;
  };
  FirstPaintExit firstPaint(window, sinceMain);
  const char* measuring = std::getenv("BRELVION_EXIT_AFTER_FIRST_PAINT");
  if (measuring && std::string(measuring) == "1") app.installEventFilter(&firstPaint);
  window.Form_Load(options);
  // The start-up lets events run, so the first paint may already be over.
  if (firstPaint.painted()) firstPaint.report();
  const int status = firstPaint.painted() ? 0 : QApplication::exec();

  if (!capturing) return status;
  opened.port->setCapture(nullptr);
  return writeCapture(capture, *request.capturePath) != 0 ? 1 : status;
}
