#pragma once

#include <QMainWindow>
#include <QString>
#include <functional>

#include "base/Clock.h"
#include "commandfiles/Sender.h"
#include "core/ToolCore.h"
#include "desktop/WindowSystem.h"
#include "gui/mainwindow/MainWindowControls.h"
#include "trace/MonitorWindow.h"
#include "windowlogic/FormLoad.h"
#include "windowlogic/ScrollLayout.h"
#include "windowlogic/SingleRegister.h"

class QLabel;

namespace brelvion::gui::mainwindow {

inline constexpr const char* kWindowCaption = "Brelvion I2C Debug Tool";
inline constexpr const char* kFormResizeTitle = "Form Resize - Error";

// The main tool window I2C_top: the entry fields, the single-register panel, the port list,
// the acknowledge indicator and the scrolled panel they sit on. Every handler runs trapped:
// an error that escapes one is shown in a box and the program goes on.
class MainWindow : public QMainWindow,
                   public windowlogic::LoadView,
                   public windowlogic::RegisterPanel {
  Q_OBJECT

 public:
  MainWindow(core::ToolCore& core, desktop::WindowSystem& windows, trace::MonitorWindow& monitor,
             QWidget* parent = nullptr);
  ~MainWindow() override;

  // The start-up: defaults, the bus start, showing the window.
  void Form_Load(const windowlogic::LoadOptions& options = {});

  // What the status line says about the bus while nothing else is to be said, e.g. that
  // the bus is simulated.
  void setBusNotice(const QString& text);
  // What ending the program does once the temporary file is gone and every further event
  // of the program's windows is held back; leaving the event loop unless set.
  void setProgramEnd(std::function<void()> end) { programEnd_ = std::move(end); }
  // The clock of Send File's pauses; the system's unless set.
  void setSendClock(base::Clock* clock) { sendClock_ = clock; }

  void InitDeviceMonitor() override;
  void UpdateDeviceMonitor() override;

 protected:
  void closeEvent(QCloseEvent* event) override;
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  // LoadView and RegisterPanel: the window's side of the start-up and of Send Register.
  void InitScrollArea() override;
  void initDelayFields() override;
  bool audibleChecked() const override;
  void fillPortList() override;
  std::string deviceAddressText() const override;
  std::string subAddressText() const override;
  std::string writeDataText() const override;
  void setReadBackText(const std::string& text) override;
  void showWindow() override;

  void connectHandlers();
  void connectFieldHandlers();
  template <typename Sender, typename Signal>
  void handle(Sender* sender, Signal signal, void (MainWindow::*handler)());
  void trapped(const std::function<void()>& handler);
  // Runs command unless another bus command is running; says so in the status line.
  bool busCommand(const QString& name, const std::function<void()>& command);
  // Sees every event of the program first: Escape during a send, and nothing at all once
  // the program ends.
  bool watchProgramEvent(QObject* watched, QEvent* event);
  void resizeClientToDesign();

  // Single-register panel, monitor, port list, menus.
  void Command2_Click();
  void Command3_Click();
  void ports_Click();
  void mnuBeepOn_Click();
  void mnuFileExit_Click();
  void Form_Unload();
  void endProgram();

  // Buttons and menu items of the command files, the dump and the help documents.
  void Command1_Click();
  void sendFile();
  void showSendEnd(const commandfiles::SendOutcome& outcome);
  void dumpToFile();
  void Command5_Click();
  void cmdDumpToFile_Click();
  void mnuFileOpen_Click();
  void mnuFileNew_Click();
  void zelhelp_Click();
  void bushelp_Click();
  void cable_Click();

  // Entry fields.
  void Text2_Change();
  void text3_Change();
  void Text4_Change();
  void Text6_Change();
  void Text7_Change();
  void UpdateCommandDelay();
  void Text2_GotFocus();
  void Text3_GotFocus();
  void Text4_GotFocus();
  void Text6_GotFocus();
  void Text7_GotFocus();
  void txtCnt_GotFocus();
  void Text6_LostFocus();
  void Text7_LostFocus();
  void Text5_GotFocus();

  // Layout and scrolling.
  void Form_Resize();
  void applyScrollLayout(const windowlogic::ScrollLayout& layout);
  windowlogic::ScrollLayoutInput scrollLayoutInput() const;
  void HScroll1_Change();
  void VScroll1_Change();

  core::ToolCore& core_;
  desktop::WindowSystem& windows_;
  trace::MonitorWindow& monitor_;
  MainWindowControls c_;
  QLabel* busNotice_ = nullptr;
  std::function<void()> programEnd_;
  QObject* programWatch_ = nullptr;
  // The open dialog's file name, kept from one Open to the next.
  std::string lastChosenFile_;
  base::Clock* sendClock_ = nullptr;
  bool sending_ = false;
  // The writes of the file being sent, as its progress said.
  long long sendTotal_ = 0;
  bool stopRequested_ = false;
  bool ending_ = false;
  // The port list's row the bus was last opened from, or -1, and whether the row under
  // the latest mouse press was already selected (a click on it picks it again).
  int appliedPortRow_ = -1;
  bool pressedRowWasSelected_ = false;
};

template <typename Sender, typename Signal>
void MainWindow::handle(Sender* sender, Signal signal, void (MainWindow::*handler)()) {
  connect(sender, signal, this, [this, handler] { trapped([&] { (this->*handler)(); }); });
}

}  // namespace brelvion::gui::mainwindow
