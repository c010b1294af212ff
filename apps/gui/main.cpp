#include <QApplication>
#include <QElapsedTimer>
#include <iostream>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "DisplayCheck.h"
#include "FirstPaintProbe.h"
#include "GuiArguments.h"
#include "ProgramVersion.h"
#include "SessionCapture.h"
#include "ShownArgument.h"
#include "base/RuntimeError.h"
#include "base/UserFile.h"
#include "core/PortSwitch.h"
#include "core/ToolCore.h"
#include "desktop/DocumentLookup.h"
#include "gui/debugger/DebuggerWindowHolder.h"
#include "gui/mainwindow/MainWindow.h"
#include "gui/qt/QtWindowSystem.h"
#include "capture/BusCapture.h"
#include "port/gpio/GpioLines.h"
#include "port/i2cdev/I2cAdapterList.h"
#include "simulator/SimulatedBusClock.h"

namespace {

constexpr const char* kProgram = "brelvion-i2c";
constexpr int kExitUsage = 2;

bool printed(const std::string& text) {
  std::cout << text << std::flush;
  return static_cast<bool>(std::cout);
}

// Everything the program can refuse is refused before Qt starts: without a display Qt
// aborts as it starts, before any other error could be shown. The exit status of a run
// that ends here (help, version, a refusal), or nothing when the windows are to open.
std::optional<int> endBeforeQt(const brelvion::apps::gui::ParsedGuiArguments& parsed) {
  using namespace brelvion;
  if (std::holds_alternative<apps::gui::HelpRequest>(parsed)) {
    return printed(apps::gui::guiUsageText()) ? 0 : 1;
  }
  if (std::holds_alternative<apps::gui::VersionRequest>(parsed)) {
    return printed(apps::versionText(kProgram)) ? 0 : 1;
  }
  if (const auto* error = std::get_if<apps::gui::UsageError>(&parsed)) {
    std::cerr << kProgram << ": " << error->message << " (--help explains)\n";
    return kExitUsage;
  }
  const auto& request = std::get<apps::gui::GuiRequest>(parsed);
  if (request.capturePath) {
    if (const auto problem = base::userFileProblem(*request.capturePath, "--capture")) {
      std::cerr << kProgram << ": --capture: " << apps::escapeControls(problem->description())
                << '\n';
      return kExitUsage;
    }
  }
  if (apps::gui::displayMissing(request, apps::gui::currentDisplayEnvironment())) {
    std::cerr << kProgram << ": " << apps::gui::noDisplayText() << '\n';
    return kExitUsage;
  }
  return std::nullopt;
}

// The parallel port the start-up opens, or nothing (the error said) when it cannot be
// opened. An adapter or GPIO lines chosen at start-up leave the LPT rows of the port list
// to what auto finds.
std::optional<brelvion::core::OpenedPort> openStartPort(
    const brelvion::apps::gui::GuiRequest& request,
    const brelvion::simulator::SimulatedBusConfig& simulation) {
  using brelvion::core::PortBackend;
  const PortBackend parallelBackend =
      request.backend == PortBackend::I2cDev || request.backend == PortBackend::Gpio
          ? PortBackend::Auto
          : request.backend;
  try {
    brelvion::core::OpenedPort opened =
        brelvion::core::openPortBackend(parallelBackend, simulation);
    if (!opened.notice.empty()) std::cerr << kProgram << ": " << opened.notice << '\n';
    return opened;
  } catch (const brelvion::base::RuntimeError& error) {
    std::cerr << kProgram << ": " << error.description() << '\n';
    return std::nullopt;
  }
}

// The adapters and GPIO lines the window's port list offers, and the port start-up chose
// when it is one of them rather than the parallel port the core was built on.
void offerPorts(brelvion::gui::mainwindow::MainWindow& window, brelvion::core::ToolCore& core,
                const brelvion::apps::gui::GuiRequest& request,
                brelvion::port::gpio::GpioLines* gpioLines) {
  using namespace brelvion;
  const core::AdapterFactory adapters = core::systemAdapters();
  window.setAdapters(port::i2cdev::listI2cAdapters(port::i2cdev::I2cDevSystemCalls::real()),
                     adapters);
  if (gpioLines) window.setGpioLines(*gpioLines);
  if (request.onAdapter()) core::selectPort(core, request.port, adapters);
  if (gpioLines) core::selectPort(core, request.port, adapters, core::gpioLinesFor(*gpioLines));
}

}  // namespace

int main(int argc, char** argv) {
  using namespace brelvion;
  QElapsedTimer sinceMain;
  sinceMain.start();
  const auto parsed = apps::gui::parseGuiArguments(std::vector<std::string>(argv + 1, argv + argc));
  if (const auto status = endBeforeQt(parsed)) return *status;
  const auto& request = std::get<apps::gui::GuiRequest>(parsed);

  QApplication app(argc, argv);
  app.setApplicationName(gui::mainwindow::kWindowCaption);
  desktop::setProgramDirectory(QCoreApplication::applicationDirPath().toStdString());
  const simulator::SimulatedBusConfig simulation = apps::gui::simulationOf(request);
  std::optional<core::OpenedPort> started = openStartPort(request, simulation);
  if (!started) return kExitUsage;
  core::OpenedPort& opened = *started;

  // GPIO lines given with --port are kept for the whole run, before the core that steps
  // them; they are requested at their first step.
  std::unique_ptr<port::gpio::GpioLines> gpioLines;
  if (const auto* lines = request.port.gpioLines()) {
    gpioLines = std::make_unique<port::gpio::GpioLines>(*lines);
  }

  gui::qt::QtWindowSystem windows;
  gui::debugger::DebuggerWindowHolder monitor(windows);
  core::ToolCore core(*opened.port, windows, monitor);
  monitor.attach(core);
  // A script's delays pass on the simulated bus too, so that its sensors see them.
  std::optional<simulator::SimulatedBusClock> busClock;
  if (auto* simulated = dynamic_cast<simulator::SimulatedParallelPort*>(opened.port.get())) {
    busClock.emplace(*simulated, base::systemClock());
  }
  auto window = std::make_unique<gui::mainwindow::MainWindow>(core, windows, monitor);
  if (busClock) window->setScriptClock(&*busClock);
  offerPorts(*window, core, request, gpioLines.get());
  window->setBusNotice(
      QString::fromStdString(apps::gui::busNoticeText(opened.backend, simulation)));

  // The capture follows the lines of the start-up's port.
  const auto record = [&](capture::BusCapture* capture) {
    if (gpioLines) {
      gpioLines->setCapture(capture);
    } else {
      opened.port->setCapture(capture);
    }
  };
  capture::BusCapture capture;
  bool capturing = false;
  windowlogic::LoadOptions options;
  options.startPort = apps::lptIndexOf(request);
  options.onBusCleared = [&] {
    if (!request.capturePath || capturing) return;
    record(&capture);
    capturing = true;
  };
  const int status =
      apps::gui::execWithFirstPaintProbe(*window, sinceMain, [&] { window->startUp(options); });

  if (!capturing) return status;
  record(nullptr);
  // A failure is shown in a box, which the ended main window would keep from the screen: it
  // holds back every window event from then on, and has queued a second exit (for an event
  // loop that had not started yet) that would end the box's own loop at once.
  window.reset();
  QCoreApplication::removePostedEvents(QCoreApplication::instance(), QEvent::MetaCall);
  return apps::gui::writeSessionCapture(capture, *request.capturePath, windows, std::cerr) ? status
                                                                                           : 1;
}
