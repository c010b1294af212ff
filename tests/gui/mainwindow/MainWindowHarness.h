#pragma once

#include <QApplication>
#include <QLineEdit>
#include <QListWidget>
#include <QScrollBar>
#include <QTest>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "base/RuntimeError.h"
#include "core/ToolCore.h"
#include "gui/mainwindow/MainWindow.h"
#include "simulator/SimulatedParallelPort.h"
#include "support/FakeClock.h"
#include "support/FakeWindowSystem.h"
#include "trace/MonitorWindow.h"

namespace brelvion::testing {

// The debugger window as the main window sees it: a trace text and a count of showings.
class FakeMonitorWindow : public trace::MonitorWindow {
 public:
  bool exists() const override { return trace_.exists(); }
  void createHidden() override { trace_.createHidden(); }
  const std::string& text() const override { return trace_.text(); }
  void replaceText(std::string text) override { trace_.replaceText(std::move(text)); }
  void showWindow() override {
    if (!exists()) createHidden();
    ++showings;
  }

  int showings = 0;

 private:
  trace::PlainTraceHolder trace_;
};

// The simulated port, able to fail every access as an unreachable port would.
class FailingPort : public port::PortIo {
 public:
  explicit FailingPort(const simulator::SimulatedBusConfig& config)
      : inner_(simulator::makeSimulatedPort(config)) {}
  std::uint8_t inpb(std::uint16_t port) override {
    check();
    return inner_->inpb(port);
  }
  void out(std::uint16_t port, std::uint8_t value) override {
    check();
    inner_->out(port, value);
  }
  void waitQuanta(std::int64_t passes) override { inner_->waitQuanta(passes); }
  void setQuantum(std::chrono::nanoseconds quantum) override { inner_->setQuantum(quantum); }
  void setCapture(capture::BusCapture* capture) override { inner_->setCapture(capture); }

  bool failing = false;

 private:
  void check() const {
    if (failing) {
      throw base::RuntimeError(base::RuntimeError::kDeviceUnavailable, "out",
                               "/dev/parport0 is busy");
    }
  }
  std::unique_ptr<port::PortIo> inner_;
};

inline simulator::SimulatedBusConfig sensorAt42() { return {}; }
inline simulator::SimulatedBusConfig noDevice() {
  simulator::SimulatedBusConfig config;
  config.sensorAddresses = {};
  return config;
}

// A started main window on a simulated bus, with every trace line the log accepted.
struct MainWindowHarness {
  // beforeStart runs on the window just before its start-up (to give it adapters, say).
  explicit MainWindowHarness(
      const simulator::SimulatedBusConfig& config = sensorAt42(),
      bool portFailsAtStart = false,
      const std::function<void(gui::mainwindow::MainWindow&)>& beforeStart = {})
      : port(config) {
    port.failing = portFailsAtStart;
    core.log().setLineListener([this](std::string_view line) { lines.emplace_back(line); });
    window.setProgramEnd([this] { ++programEnds; });
    window.setSendClock(&clock);
    if (beforeStart) beforeStart(window);
    window.startUp();
  }

  template <typename W>
  W* find(const char* name) const {
    W* widget = window.findChild<W*>(name);
    if (!widget) qFatal("no control named %s", name);
    return widget;
  }
  QLineEdit* field(const char* name) const { return find<QLineEdit>(name); }

  std::vector<std::string> linesStartingWith(const std::string& prefix) const {
    std::vector<std::string> found;
    for (const std::string& line : lines) {
      if (line.rfind(prefix, 0) == 0) found.push_back(line);
    }
    return found;
  }

  // Resizes the window until its client area has this size.
  void resizeClient(QSize size) {
    QWidget* client = find<QWidget>("client");
    for (int attempt = 0; attempt < 5 && client->size() != size; ++attempt) {
      window.resize(window.size() + size - client->size());
      QCoreApplication::processEvents();
    }
  }

  FailingPort port;
  FakeWindowSystem windows;
  // Send File's pauses pass on it at once.
  FakeClock clock;
  FakeMonitorWindow monitor;
  core::ToolCore core{port, windows, monitor};
  gui::mainwindow::MainWindow window{core, windows, monitor};
  std::vector<std::string> lines;
  int programEnds = 0;
};

// Clicks the port list's item at row as a user would.
inline void pickPort(MainWindowHarness& h, int row) {
  auto* ports = h.find<QListWidget>("ports");
  ports->scrollToItem(ports->item(row));
  const QRect place = ports->visualItemRect(ports->item(row));
  QTest::mouseClick(ports->viewport(), Qt::LeftButton, {}, place.center());
}

}  // namespace brelvion::testing
