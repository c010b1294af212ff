#pragma once

#include <QAction>
#include <QFontInfo>
#include <QLabel>
#include <QMenu>
#include <QPlainTextEdit>
#include <QPointer>
#include <QPushButton>
#include <QScrollBar>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QtTest>
#include <cmath>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <memory>

#include "DebuggerControls.h"
#include "core/ToolCore.h"
#include "gui/debugger/DebuggerWindow.h"
#include "gui/debugger/DebuggerWindowHolder.h"
#include "gui/qt/Twips.h"
#include "support/FakeWindowSystem.h"
#include "support/RecordingPort.h"

namespace brelvion::testing {

using gui::debugger::DebuggerWindow;
using trace::padTraceLine;

// One program's worth of objects with the real debugger window as the trace.
struct Rig {
  Rig() {
    holder.attach(core);
    core.log().setEnabled(true);
    core.log().debuggerState().traceBufferSize = 10;
  }
  RecordingPort port;
  FakeWindowSystem windows;
  gui::debugger::DebuggerWindowHolder holder{windows};
  core::ToolCore core{port, windows, holder};
};

inline std::string fileContent(const QString& path) {
  std::ifstream in(path.toStdString(), std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

// Lets events run until the trace box has taken the latest text: at once after a quiet
// spell, at most the refresh interval after a redraw.
inline void waitForTraceRefresh() { QTest::qWait(DebuggerWindow::kTraceRefreshMs + 10); }

inline void flushPostedEvents() {
  QCoreApplication::processEvents();
  QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}

// What both debugger window test programs share: a fresh rig a test, the window's controls
// by their object names, and what the window shows.
class DebuggerWindowFixture : protected DebuggerControls<Rig> {
 protected:
  void log(const std::string& message) { rig->core.log().logMessage(message); }
  bool traceView() { return !control<QPlainTextEdit>("I2Cmonitor")->isHidden(); }
  bool aboutView() {
    return !control<QLabel>("wispabout")->isHidden() && !control<QLabel>("WISPlogo")->isHidden() &&
           !control<QPushButton>("showwisp")->isHidden();
  }
  bool dialogShown() {
    for (const char* name : {"wisptracetext", "wisptracesizebox", "wisptracetext2"}) {
      if (control<QLabel>(name)->isHidden()) return false;
    }
    return !control<QScrollBar>("wisptraceslider")->isHidden() &&
           !control<QPushButton>("wisptraceok")->isHidden() &&
           !control<QPushButton>("wisptracecancel")->isHidden();
  }

  void setUpRig() { rig = std::make_unique<Rig>(); }
  void tearDownRig() {
    rig.reset();
    flushPostedEvents();
  }
};

}  // namespace brelvion::testing
