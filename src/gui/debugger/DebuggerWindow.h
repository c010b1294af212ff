#pragma once

#include <QElapsedTimer>
#include <QMainWindow>
#include <QTimer>
#include <string>

class QAction;
class QLabel;
class QPlainTextEdit;
class QPushButton;
class QScrollBar;

namespace brelvion::core {
class ToolCore;
}
namespace brelvion::desktop {
class WindowSystem;
}

namespace brelvion::gui::debugger {

// The bus debugger's window: the trace box, the about view and the trace-buffer dialog,
// with menus for the run mode, the trace file and the options. Widgets and menu actions
// carry the design's control names as object names.
class DebuggerWindow : public QMainWindow {
  Q_OBJECT

 public:
  // Runs Form_Load: the about text and the window centred on the screen.
  DebuggerWindow(core::ToolCore& core, desktop::WindowSystem& windows);
  ~DebuggerWindow() override;

  // The trace as the log last wrote it, exact to the byte (8-bit characters).
  const std::string& traceText() const { return trace_; }
  // Keeps the text at once; the trace box shows it at the next pass of the event loop,
  // once however many times the text changed before. While lines pour in, the box is
  // redrawn at most every kTraceRefreshMs, so the newest line shows within that time.
  void setTraceText(std::string text);
  static constexpr int kTraceRefreshMs = 20;

  // Deletes the window once none of its handlers is running: a handler that let events
  // run may be in the middle of its work when the user closes the window.
  void destroyWhenIdle();

 signals:
  // The user closed the window through its frame; it is gone for the rest of the program.
  void closedThroughFrame();

 protected:
  void closeEvent(QCloseEvent* event) override;

 private:
  using Handler = void (DebuggerWindow::*)();

  void buildControls();
  void buildMenus();
  QAction* addCommand(QWidget* menu, const char* name, const char* caption, Handler handler);
  void setTabOrderOfControls();
  // Runs a handler so that no error leaves it unreported or escapes into the event loop.
  void handle(const char* errorTitle, Handler handler);
  void refreshTrace();
  void setRunMode(QAction* chosen, const char* caption, std::int16_t enabled);
  void setAboutViewVisible(bool visible);
  void setTraceDialogVisible(bool visible);

  void Form_Load();
  void wisphide_Click();
  void wispfilesave_Click();
  void wispfileload_Click();
  void wispfileabout_Click();
  void wispclear_Click();
  void wisprunstop_Click();
  void wisprunstandard_Click();
  void wisprunextended_Click();
  void wispoptionbuffer_Click();
  void wispoptionstop_Click();
  void Help_Click();
  void showwisp_Click();
  void wisptraceslider_Change();
  void wisptraceok_Click();
  void wisptracecancel_Click();

  core::ToolCore& core_;
  desktop::WindowSystem& windows_;
  std::string trace_;
  bool refreshPending_ = false;
  QTimer refreshTimer_;
  QElapsedTimer sinceRefresh_;
  int runningHandlers_ = 0;
  bool destroyPending_ = false;

  QPlainTextEdit* I2Cmonitor_ = nullptr;
  QLabel* wispabout_ = nullptr;
  QLabel* WISPlogo_ = nullptr;
  QPushButton* showwisp_ = nullptr;
  QScrollBar* wisptraceslider_ = nullptr;
  QLabel* wisptracetext_ = nullptr;
  QLabel* wisptracesizebox_ = nullptr;
  QLabel* wisptracetext2_ = nullptr;
  QPushButton* wisptraceok_ = nullptr;
  QPushButton* wisptracecancel_ = nullptr;
  QAction* wisprunstop_ = nullptr;
  QAction* wisprunstandard_ = nullptr;
  QAction* wisprunextended_ = nullptr;
  QAction* wispoptionstop_ = nullptr;
};

}  // namespace brelvion::gui::debugger
