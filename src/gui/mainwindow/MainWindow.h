#pragma once

#include <QMainWindow>
#include <QString>
#include <functional>
#include <optional>
#include <string>

#include "base/Clock.h"
#include "commandfiles/RegisterFields.h"
#include "commandfiles/ScriptSend.h"
#include "commandfiles/Sender.h"
#include "core/PortSwitch.h"
#include "core/ToolCore.h"
#include "desktop/WindowSystem.h"
#include "gui/mainwindow/MainWindowControls.h"
#include "port/gpio/GpioLines.h"
#include "port/i2cdev/I2cAdapterList.h"
#include "trace/MonitorWindow.h"
#include "windowlogic/FormLoad.h"
#include "windowlogic/ScrollLayout.h"
#include "windowlogic/SingleRegister.h"

class QAction;
class QLabel;

namespace brelvion::gui::scan {
class ScanDialog;
}

namespace brelvion::gui::registermap {
class RegisterMapWindow;
}

namespace brelvion::gui::mainwindow {
class StepTimeDialog;
}

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
  void startUp(const windowlogic::LoadOptions& options = {});

  // What the status line says about the parallel port's bus while nothing else is to be
  // said, e.g. that the bus is simulated; while an adapter carries the bus, it names that.
  void setBusNotice(const QString& text);
  // The I2C adapters the port list offers after its LPT rows, and what makes the adapter
  // for a row. Before startUp.
  void setAdapters(std::vector<port::i2cdev::I2cAdapterInfo> adapters,
                   core::AdapterFactory factory);
  // The GPIO lines given with --port, which outlive the window: their row in the port list
  // after the LPT rows, and the status line for their notice. Before startUp.
  void setGpioLines(port::gpio::GpioLines& lines);
  // What ending the program does once the temporary file is gone and every further event
  // of the program's windows is held back; leaving the event loop unless set.
  void setProgramEnd(std::function<void()> end) { programEnd_ = std::move(end); }
  // The clock of Send File's pauses; the system's unless set.
  void setSendClock(base::Clock* clock) { sendClock_ = clock; }
  // The clock of a script's delays and polls while the lines carry the bus (the simulated
  // bus's own time); Send File's clock unless set, and on an adapter.
  void setScriptClock(base::Clock* clock) { scriptClock_ = clock; }
  // What Send File of a command file goes by: the delay fields' seconds and Audible.
  const commandfiles::SendOptions& sendOptions() const { return sendOptions_; }

  void initDeviceMonitor() override;
  void updateDeviceMonitor(bool acknowledged) override;

  // The device-address, register and data fields as the commands use them.
  const commandfiles::RegisterFields& fields() const { return fields_; }
  // How register reads join their pointer write and read: the Bus menu's Repeated START.
  i2c::AfterMessage readPointerThen() const;

 protected:
  void closeEvent(QCloseEvent* event) override;
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  // How long the status bar shows the end of a Send File, a dump or a script.
  static constexpr int kResultShownMs = 10000;
  // LoadView and RegisterPanel: the window's side of the start-up and of Send Register.
  void initScrollArea() override;
  void initDelayFields() override;
  void fillPortList() override;
  std::string deviceAddressText() const override;
  std::string subAddressText() const override;
  std::string writeDataText() const override;
  void setReadBackText(const std::string& text) override;
  void showWindow() override;

  void connectHandlers();
  void connectFieldHandlers();
  void markBusInUse();
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
  void sendRegister();
  void openBusDebugger();
  void choosePort();
  void audibleToggled();
  void exitProgram();
  void cleanUpAndEnd();
  void endProgram();

  // The Bus menu (MainWindowBus.cpp).
  void scanBus();
  void runScan();
  void useScannedAddress(std::uint8_t writeAddress);
  void recoverBus();
  void chooseStepTime();
  void applyStepTime();
  void showBusNotice();
  core::LinesLookup gpioLinesLookup() const;

  // Buttons and menu items of the command files, the dump and the help documents.
  void sendFile();
  void sendChosenFile();
  // The status bar's line at the end of Send File; cleared after a failure (nothing).
  void showSendEnd(const std::optional<std::string>& text);
  void dumpRegistersToFile();
  void editFile();
  void dumpToFile();
  void openCommandFile();
  void newCommandFile();
  void showToolHelp();
  void showBusHelp();
  void showCableSchematic();

  // Bus > Register Map...
  void openRegisterMap();

  // Bring-up scripts (MainWindowScripts.cpp): Send File on a .i2cs, and its Bus menu item.
  void addScriptItems();
  void sendScript(const std::string& path);
  void keepLastGroup(const commandfiles::ReadGroup& group);

  // Entry fields.
  void deviceAddressChanged();
  void subAddressChanged();
  void writeDataChanged();
  void delaySecondsChanged();
  void delayFractionChanged();
  void updateCommandDelay();
  void deviceAddressFocused();
  void subAddressFocused();
  void writeDataFocused();
  void delaySecondsFocused();
  void delayFractionFocused();
  void lineCountFocused();
  void delaySecondsLeft();
  void delayFractionLeft();
  void fileNameFocused();

  // Layout and scrolling.
  void layOutClientArea();
  void applyScrollLayout(const windowlogic::ScrollLayout& layout);
  windowlogic::ScrollLayoutInput scrollLayoutInput() const;
  void scrolledHorizontally();
  void scrolledVertically();

  core::ToolCore& core_;
  commandfiles::RegisterFields fields_;
  desktop::WindowSystem& windows_;
  trace::MonitorWindow& monitor_;
  MainWindowControls c_;
  QLabel* busNotice_ = nullptr;
  QString parallelNotice_;
  std::vector<port::i2cdev::I2cAdapterInfo> adapters_;
  core::AdapterFactory adapterFactory_;
  scan::ScanDialog* scanDialog_ = nullptr;
  port::gpio::GpioLines* gpioLines_ = nullptr;
  StepTimeDialog* stepTimeDialog_ = nullptr;
  std::function<void()> programEnd_;
  QObject* programWatch_ = nullptr;
  // The open dialog's file name, kept from one Open to the next.
  std::string lastChosenFile_;
  base::Clock* sendClock_ = nullptr;
  commandfiles::SendOptions sendOptions_;
  base::Clock* scriptClock_ = nullptr;
  QAction* keepGoingAction_ = nullptr;
  bool sending_ = false;
  // The writes of the file being sent, as its progress said.
  long long sendTotal_ = 0;
  bool stopRequested_ = false;
  bool ending_ = false;
  // The port list's row the bus was last opened from, or -1, and whether the row under
  // the latest mouse press was already selected (a click on it picks it again).
  int appliedPortRow_ = -1;
  bool pressedRowWasSelected_ = false;
  registermap::RegisterMapWindow* registerMap_ = nullptr;
};

template <typename Sender, typename Signal>
void MainWindow::handle(Sender* sender, Signal signal, void (MainWindow::*handler)()) {
  connect(sender, signal, this, [this, handler] { trapped([&] { (this->*handler)(); }); });
}

}  // namespace brelvion::gui::mainwindow
