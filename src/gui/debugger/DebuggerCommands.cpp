// The debugger window's commands: its load, the menus and the trace-buffer dialog.
#include <QLabel>
#include <QPlainTextEdit>
#include <QScrollBar>
#include <QString>
#include <cmath>

#include "base/RuntimeError.h"
#include "core/ToolCore.h"
#include "desktop/HelpDocuments.h"
#include "desktop/WindowSystem.h"
#include "gui/debugger/DebuggerWindow.h"
#include "trace/TraceBufferText.h"
#include "trace/TraceFile.h"

namespace brelvion::gui::debugger {

namespace {

constexpr const char* kTraceFileFilter = "Wisp files (*.WSP)|*.WSP|Text (*.TXT)|*.TXT";
constexpr const char* kCanceledMessage = "Fileoperation canceled";

// The about text after its first line, one banner line each.
constexpr const char* kBannerLines[] = {
    "The bus debugger of the Brelvion I2C Debug Tool.",
    "It traces every step on the bus: START, each byte sent or received, each "
    "acknowledge, STOP and every timeout.",
    "RunMode Stop silences the trace; Standard and Extended record it.",
    "Options: Tracebuffer bounds the trace, Stop on Error halts at each missing "
    "acknowledge.",
    "File: Save and Load keep a trace as a *.WSP or *.TXT text file.",
};

// A path as the trace's 8-bit characters: the trace is shown, saved and loaded one byte a
// character, so a name in UTF-8 would turn into two characters per accented letter.
std::string traceCharacters(const std::string& path) {
  return QString::fromUtf8(path.data(), qsizetype(path.size())).toLatin1().toStdString();
}

}  // namespace

void DebuggerWindow::setUpWindow() {
  std::string about = "Wisp V1.01 - Brelvion I2C bus debugger\r\n";
  for (const char* line : kBannerLines) about.append(line).append("\r\n");
  aboutText_->setText(QString::fromLatin1(about).replace(QLatin1String("\r\n"), "\n"));

  const desktop::ScreenSize screen = windows_.screenSize();
  if (screen.widthPixels <= 0 || screen.heightPixels <= 0) return;
  const double top = screen.heightPixels / 2.0 - height() / 2.0;
  const double left = screen.widthPixels / 2.0 - width() / 2.0;
  move(static_cast<int>(std::lround(left)), static_cast<int>(std::lround(top)));
}

void DebuggerWindow::hideWindow() { hide(); }

void DebuggerWindow::saveTrace() {
  const std::string path = windows_.fileDialog(
      {desktop::FileDialogMode::Save, "Save Wisp Debugwindow to:", kTraceFileFilter});
  if (path.empty()) {
    core_.log().logMessage(kCanceledMessage);
    return;
  }
  // Logged first, so that while the debugger runs the file ends with this line.
  core_.log().logMessage("Debug window saved to :" + traceCharacters(path));
  trace::saveTraceFile(path, trace_, "saveTrace");
}

void DebuggerWindow::loadTrace() {
  const std::string path = windows_.fileDialog(
      {desktop::FileDialogMode::Open, "Open previous Wisp Debugwindow:", kTraceFileFilter});
  if (path.empty()) {
    core_.log().logMessage(kCanceledMessage);
    return;
  }
  // Read before the trace is emptied: a file that cannot be read costs the user nothing.
  std::string loaded = trace::traceFromFileText(trace::readTraceFile(path, "loadTrace"));
  setTraceText(std::move(loaded));
}

void DebuggerWindow::showAbout() { setAboutViewVisible(true); }

void DebuggerWindow::closeAbout() { setAboutViewVisible(false); }

void DebuggerWindow::clearTrace() {
  setTraceText({});
  core_.record().clear();
}

void DebuggerWindow::setRunMode(QAction* chosen, const char* caption, std::int16_t enabled) {
  for (QAction* item : {runStopItem_, runStandardItem_, runExtendedItem_}) {
    item->setChecked(item == chosen);
  }
  setWindowTitle(QString::fromLatin1(caption));
  // Set directly: switching through the log would add a line to the trace.
  core_.log().setEnabled(enabled == 1);
}

void DebuggerWindow::stopTracing() { setRunMode(runStopItem_, "Wisp Debugger :Stopped", 0); }

void DebuggerWindow::traceStandard() {
  setRunMode(runStandardItem_, "Wisp Debugger :Standard run", 1);
}

void DebuggerWindow::traceExtended() {
  setRunMode(runExtendedItem_, "Wisp Debugger :Extended run", 1);
}

void DebuggerWindow::toggleStopOnError() {
  // The shared option decides, not the check mark: the mark starts unchecked in every new
  // window whatever the option holds.
  const bool stop = !core_.log().debuggerState().stopOnError;
  core_.log().debuggerState().stopOnError = stop;
  stopOnErrorItem_->setChecked(stop);
}

void DebuggerWindow::openTraceBufferDialog() {
  setTraceDialogVisible(true);
  const double size = core_.log().debuggerState().traceBufferSize;
  traceSizeSlider_->setValue(trace::traceSliderPosition(size));
  traceSizeBox_->setText(QString::fromStdString(trace::traceBufferSizeText(size)));
}

void DebuggerWindow::traceSliderMoved() {
  traceSizeBox_->setText(QString::number(traceSizeSlider_->value()));
}

void DebuggerWindow::acceptTraceBufferSize() {
  setTraceDialogVisible(false);
  core_.log().debuggerState().traceBufferSize =
      trace::leadingNumber(traceSizeBox_->text().toStdString());
}

void DebuggerWindow::cancelTraceBufferSize() { setTraceDialogVisible(false); }

void DebuggerWindow::showDebuggerHelp() {
  desktop::openHelpDocument(windows_, desktop::kDebuggerHelpName);
}

}  // namespace brelvion::gui::debugger
