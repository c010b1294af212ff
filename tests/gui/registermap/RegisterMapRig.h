#pragma once

#include <QAbstractItemModel>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QTableView>
#include <QtTest>
#include <string>
#include <vector>

#include "core/ToolCore.h"
#include "gui/registermap/RegisterMapWindow.h"
#include "simulator/SimulatedParallelPort.h"
#include "support/FakeWindowSystem.h"

// The register map window on a started core, for the window's tests.
namespace brelvion::testing {

using gui::registermap::RegisterMapWindow;

inline const std::string kExample = std::string(BRELVION_DATA_DIR) + "/sim-sensor16.yaml";

inline simulator::SimulatedBusConfig bothSensors() {
  simulator::SimulatedBusConfig config;
  config.sensor16Addresses = {0x20};
  return config;
}

// A started program's core on a bus with both simulated sensors, and the window on it.
struct Rig {
  Rig() : port(bothSensors()) {
    core.engine().setBusDelay(0.001);
    core.startBus();
    core.log().setLineListener([this](std::string_view line) { lines.emplace_back(line); });
    window.setSnapshotTime([] { return std::string("2025-03-04 10:22:31 +0100"); });
    window.show();
  }
  template <typename W>
  W* find(const char* name) const {
    W* widget = window.findChild<W*>(name);
    if (!widget) qFatal("no control named %s", name);
    return widget;
  }
  void click(const char* button) { QTest::mouseClick(find<QPushButton>(button), Qt::LeftButton); }
  QString status() const { return find<QLabel>("status")->text(); }
  QAbstractItemModel* model() const { return find<QTableView>("registers")->model(); }
  // The row of the table showing the register of that name.
  int rowOf(const QString& name) const {
    for (int row = 0; row < model()->rowCount(); ++row) {
      if (model()->index(row, 1).data().toString() == name) return row;
    }
    qFatal("no row for %s", qPrintable(name));
  }
  QString cell(const QString& name, int column) const {
    return model()->index(rowOf(name), column).data().toString();
  }
  void select(const QString& name) {
    auto* view = find<QTableView>("registers");
    view->setCurrentIndex(model()->index(rowOf(name), 0));
  }
  void openExample() {
    windows.dialogAnswers.push_back(kExample);
    click("openDescription");
  }

  simulator::SimulatedParallelPort port;
  FakeWindowSystem windows;
  core::ToolCore core{port, windows};
  RegisterMapWindow window{core, windows, 0x42};
  std::vector<std::string> lines;
};

constexpr int kValue = 4;
constexpr int kMark = 6;

inline QStringList listed(const QListWidget* list) {
  QStringList items;
  for (int i = 0; i < list->count(); ++i) items << list->item(i)->text();
  return items;
}

}  // namespace brelvion::testing
