#include <QApplication>
#include <QElapsedTimer>
#include <iostream>
#include <memory>
#include <string>
#include <vector>

#include "CaptureTarget.h"
#include "DisplayCheck.h"
#include "FirstPaintProbe.h"
#include "GuiArguments.h"
#include "ProgramVersion.h"
#include "SessionCapture.h"
#include "ShownArgument.h"
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

bool printed(const std::string& text) {
  std::cout << text << std::flush;
  return static_cast<bool>(std::cout);
}

}  // namespace

int main(int argc, char** argv) {
  using namespace brelvion;
  QElapsedTimer sinceMain;
  sinceMain.start();
  // Everything the program can refuse is refused before Qt starts: without a display Qt
  // aborts as it starts, before any other error could be shown.
  const auto parsed = gui::parseGuiArguments(std::vector<std::string>(argv + 1, argv + argc));
  if (std::holds_alternative<gui::HelpRequest>(parsed)) return printed(gui::guiUsageText()) ? 0 : 1;
  if (std::holds_alternative<gui::VersionRequest>(parsed)) {
    return printed(apps::versionText(kProgram)) ? 0 : 1;
  }
  if (const auto* error = std::get_if<gui::UsageError>(&parsed)) {
    std::cerr << kProgram << ": " << error->message << " (--help explains)\n";
    return kExitUsage;
  }
  const auto& request = std::get<gui::GuiRequest>(parsed);
  if (request.capturePath) {
    if (const auto problem = apps::captureTargetProblem(*request.capturePath)) {
      std::cerr << kProgram << ": --capture: " << apps::escapeControls(problem->description())
                << '\n';
      return kExitUsage;
    }
  }
  if (gui::displayMissing(request, gui::currentDisplayEnvironment())) {
    std::cerr << kProgram << ": " << gui::noDisplayText() << '\n';
    return kExitUsage;
  }

  QApplication app(argc, argv);
  app.setApplicationName(mainwindow::kWindowCaption);
  platform::setProgramDirectory(QCoreApplication::applicationDirPath().toStdString());
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
  auto window = std::make_unique<mainwindow::MainWindow>(core, windows, monitor);
  window->setBusNotice(QString::fromStdString(gui::busNoticeText(opened.backend, simulation)));

  platform::BusCapture capture;
  bool capturing = false;
  mainwindow::LoadOptions options;
  options.startPort = request.portIndex;
  options.onBusCleared = [&] {
    if (!request.capturePath || capturing) return;
    opened.port->setCapture(&capture);
    capturing = true;
  };
  const int status =
      gui::execWithFirstPaintProbe(*window, sinceMain, [&] { window->Form_Load(options); });

  if (!capturing) return status;
  opened.port->setCapture(nullptr);
  // A failure is shown in a box, which the ended main window would keep from the screen: it
  // holds back every window event from then on, and has queued a second exit (for an event
  // loop that had not started yet) that would end the box's own loop at once.
  window.reset();
  QCoreApplication::removePostedEvents(QCoreApplication::instance(), QEvent::MetaCall);
  return gui::writeSessionCapture(capture, *request.capturePath, windows, std::cerr) ? status : 1;
}
