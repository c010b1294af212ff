#pragma once

#include <QElapsedTimer>
#include <QMainWindow>
#include <QTimer>
#include <string>

class QAction;
class QLabel;
class QMenu;
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
  // Runs setUpWindow: the about text and the window centred on the screen.
  DebuggerWindow(core::ToolCore& core, desktop::WindowSystem& windows);
  ~DebuggerWindow() override;

  // The trace as the log last wrote it, exact to the byte (8-bit characters).
  const std::string& traceText() const { return trace_; }
  // Keeps the text at once; the trace box shows it at the next pass of the event loop,
  // once however many times the text changed before. While lines pour in, the box is
  // redrawn at most every kTraceRefreshMs, so the newest line shows within that time.
  void setTraceText(std::string text);
  static constexpr int kTraceRefreshMs = 20;

  // The engine's record changed; the transactions view shows it within kTraceRefreshMs.
  void noteTransactionsChanged();

  // Deletes the window once none of its handlers is running: a handler that let events
  // run may be in the middle of its work when the user closes the window.
  void destroyWhenIdle();

 signals:
  // The user closed the window through its frame; it is gone for the rest of the program.
  void closedThroughFrame();

 protected:
  void closeEvent(QCloseEvent* event) override;
  bool eventFilter(QObject* watched, QEvent* event) override;

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
  // The trace box, or with View > Transactions the transactions box, shown or hidden.
  void showListView(bool shown);

  // The transactions view (DebuggerTransactions.cpp).
  void buildTransactionsBox(QWidget* client);
  void addScriptCommands(QMenu* file);
  void buildViewMenu();
  void refreshTransactions();
  void showTrace();
  void showTransactions();
  void toggleSevenBitAddresses();
  void registersOf8Bits();
  void registersOf16Bits();
  void setAddressBytes(int bytes);
  void toggleReadsAsExpect();
  void saveAsScript();

  void setUpWindow();
  void hideWindow();
  void saveTrace();
  void loadTrace();
  void showAbout();
  void clearTrace();
  void stopTracing();
  void traceStandard();
  void traceExtended();
  void openTraceBufferDialog();
  void toggleStopOnError();
  void showDebuggerHelp();
  void closeAbout();
  void traceSliderMoved();
  void acceptTraceBufferSize();
  void cancelTraceBufferSize();

  core::ToolCore& core_;
  desktop::WindowSystem& windows_;
  std::string trace_;
  bool refreshPending_ = false;
  QTimer refreshTimer_;
  QElapsedTimer sinceRefresh_;
  int runningHandlers_ = 0;
  bool destroyPending_ = false;

  QPlainTextEdit* traceBox_ = nullptr;
  QLabel* aboutText_ = nullptr;
  QLabel* logo_ = nullptr;
  QPushButton* closeAboutButton_ = nullptr;
  QScrollBar* traceSizeSlider_ = nullptr;
  QLabel* traceSizeCaption_ = nullptr;
  QLabel* traceSizeBox_ = nullptr;
  QLabel* traceSizeUnit_ = nullptr;
  QPushButton* traceSizeOk_ = nullptr;
  QPushButton* traceSizeCancel_ = nullptr;
  QAction* runStopItem_ = nullptr;
  QAction* runStandardItem_ = nullptr;
  QAction* runExtendedItem_ = nullptr;
  QAction* stopOnErrorItem_ = nullptr;

  // The transactions view: off until View > Transactions.
  QPlainTextEdit* transactionsBox_ = nullptr;
  QTimer transactionsTimer_;
  bool showingTransactions_ = false;
  bool sevenBitAddresses_ = false;
  // The register-address bytes of a write whose command did not say, as View sets them.
  int addressBytes_ = 1;
  bool readsAsExpect_ = false;
  QAction* viewTraceItem_ = nullptr;
  QAction* viewTransactionsItem_ = nullptr;
  QAction* register8Item_ = nullptr;
  QAction* register16Item_ = nullptr;
};

}  // namespace brelvion::gui::debugger
