#include "gui/mainwindow/MainWindow.h"

#include <QAction>
#include <QCoreApplication>
#include <QLabel>
#include <QListWidget>
#include <QMenuBar>
#include <QMouseEvent>
#include <QPushButton>
#include <QScrollBar>
#include <QSignalBlocker>
#include <QStatusBar>

#include "core/BusCommandGuard.h"
#include "desktop/ErrorTrap.h"
#include "gui/mainwindow/EntryField.h"
#include "gui/qt/AppIcons.h"
#include "gui/qt/EnterPressesButtons.h"
#include "gui/qt/Twips.h"
#include "windowlogic/DeviceMonitor.h"
#include "windowlogic/PortList.h"

namespace brelvion::gui::mainwindow {

namespace {

constexpr int kRefusalShownMs = 10000;

// An application-wide event filter that hands every event to watch first.
class ProgramEventWatch : public QObject {
 public:
  ProgramEventWatch(std::function<bool(QObject*, QEvent*)> watch, QObject* parent)
      : QObject(parent), watch_(std::move(watch)) {}
  bool eventFilter(QObject* watched, QEvent* event) override { return watch_(watched, event); }

 private:
  std::function<bool(QObject*, QEvent*)> watch_;
};

}  // namespace

MainWindow::MainWindow(core::ToolCore& core, desktop::WindowSystem& windows,
                       trace::MonitorWindow& monitor, QWidget* parent)
    : QMainWindow(parent), core_(core), windows_(windows), monitor_(monitor) {
  setObjectName("I2C_top");
  setWindowTitle(kWindowCaption);
  setWindowIcon(gui::qt::toolIcon());
  buildControls(*this, c_);
  statusBar()->setObjectName("statusLine");
  busNotice_ = new QLabel(statusBar());
  busNotice_->setObjectName("busNotice");
  // A long notice is cut, rather than keeping the window from being made narrower.
  busNotice_->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Preferred);
  statusBar()->addWidget(busNotice_, 1);
  programEnd_ = [] {
    QCoreApplication::exit(0);
    // Also when the event loop has not started yet: then it ends as soon as it starts.
    QMetaObject::invokeMethod(
        QCoreApplication::instance(), [] { QCoreApplication::exit(0); }, Qt::QueuedConnection);
  };
  programWatch_ = new ProgramEventWatch(
      [this](QObject* watched, QEvent* event) { return watchProgramEvent(watched, event); }, this);
  QCoreApplication::instance()->installEventFilter(programWatch_);
  resizeClientToDesign();
  connectHandlers();
  gui::qt::letEnterPressButtons(*this);
}

// The watch goes first: the events of tearing the window down must not reach a half-gone
// window.
MainWindow::~MainWindow() {
  delete programWatch_;
  if (gpioLines_ != nullptr) gpioLines_->setNotice({});
}

void MainWindow::startUp(const windowlogic::LoadOptions& options) {
  // No extra delay after the writes; a beep after each as Audible is checked.
  sendOptions_ = commandfiles::SendOptions{0, c_.audibleAction->isChecked()};
  trapped([&] { windowlogic::startUp(core_, fields_, *this, options); });
  markBusInUse();
  // The start-up window shows once its load is over, even when the load stopped early:
  // the user can still pick another port or look at the debugger.
  if (!isVisible()) trapped([this] { showWindow(); });
}

// An adapter or GPIO lines chosen before the start-up: the list shows their row.
void MainWindow::markBusInUse() {
  const port::BusAdapter* adapter = core_.adapter();
  const std::string adapterName = adapter != nullptr ? adapter->name() : std::string();
  const std::optional<int> row =
      windowlogic::rowOfBusInUse(adapter != nullptr ? &adapterName : nullptr,
                                 core_.lines() != nullptr, adapters_, gpioLines_ != nullptr);
  if (!row || *row >= c_.portList->count()) return;
  const QSignalBlocker quiet(c_.portList);
  c_.portList->setCurrentRow(*row);
  appliedPortRow_ = *row;
}

void MainWindow::setBusNotice(const QString& text) {
  parallelNotice_ = text;
  showBusNotice();
}

void MainWindow::trapped(const std::function<void()>& handler) {
  if (ending_) return;
  desktop::runHandler(windows_, "", handler);
}

void MainWindow::connectHandlers() {
  handle(c_.sendRegisterButton, &QPushButton::clicked, &MainWindow::sendRegister);
  handle(c_.monitorButton, &QPushButton::clicked, &MainWindow::openBusDebugger);
  handle(c_.sendFileButton, &QPushButton::clicked, &MainWindow::sendFile);
  handle(c_.editFileButton, &QPushButton::clicked, &MainWindow::editFile);
  handle(c_.dumpButton, &QPushButton::clicked, &MainWindow::dumpToFile);
  handle(c_.portList, &QListWidget::itemSelectionChanged, &MainWindow::choosePort);
  connect(c_.portList, &QListWidget::itemClicked, this, [this] {
    if (pressedRowWasSelected_) trapped([this] { choosePort(); });
  });
  c_.portList->viewport()->installEventFilter(this);
  handle(c_.openAction, &QAction::triggered, &MainWindow::openCommandFile);
  handle(c_.newFileAction, &QAction::triggered, &MainWindow::newCommandFile);
  handle(c_.exitAction, &QAction::triggered, &MainWindow::exitProgram);
  handle(c_.toolHelpAction, &QAction::triggered, &MainWindow::showToolHelp);
  handle(c_.busHelpAction, &QAction::triggered, &MainWindow::showBusHelp);
  handle(c_.cableAction, &QAction::triggered, &MainWindow::showCableSchematic);
  handle(c_.audibleAction, &QAction::triggered, &MainWindow::audibleToggled);
  handle(c_.scanAction, &QAction::triggered, &MainWindow::scanBus);
  handle(c_.registerMapAction, &QAction::triggered, &MainWindow::openRegisterMap);
  handle(c_.recoverAction, &QAction::triggered, &MainWindow::recoverBus);
  handle(c_.stepTimeAction, &QAction::triggered, &MainWindow::chooseStepTime);
  addScriptItems();
  handle(c_.horizontalBar, &QScrollBar::valueChanged, &MainWindow::scrolledHorizontally);
  handle(c_.verticalBar, &QScrollBar::valueChanged, &MainWindow::scrolledVertically);
  c_.client->installEventFilter(this);
  connectFieldHandlers();
}

bool MainWindow::eventFilter(QObject* watched, QEvent* event) {
  if (watched == c_.client && event->type() == QEvent::Resize) {
    trapped([this] { layOutClientArea(); });
  } else if (watched == c_.portList->viewport() && event->type() == QEvent::MouseButtonPress) {
    const QListWidgetItem* item =
        c_.portList->itemAt(static_cast<QMouseEvent*>(event)->position().toPoint());
    pressedRowWasSelected_ = item && item->isSelected();
  }
  return QMainWindow::eventFilter(watched, event);
}

bool MainWindow::busCommand(const QString& name, const std::function<void()>& command) {
  const bool ran = core::runBusCommand(core_, [&] {
    statusBar()->clearMessage();
    command();
  });
  if (!ran) {
    statusBar()->showMessage(name + " refused: another bus command is still running",
                             kRefusalShownMs);
  }
  return ran;
}

// The design's client area, below the menu bar and above the status line.
void MainWindow::resizeClientToDesign() {
  const QSize design =
      gui::qt::twipsSize(kClientWidthTwips, kClientHeightTwips, gui::qt::logicalDpiOf(this));
  const QSize current = c_.client->size();
  if (current == design) return;
  const int chrome = menuBar()->sizeHint().height() + statusBar()->sizeHint().height();
  if (!isVisible()) {
    resize(design.width(), design.height() + chrome);
  } else {
    resize(size() + design - current);
  }
}

// ---- Start-up and single-register panel ----

void MainWindow::initDelayFields() {
  // Text first: a shorter limit would cut the design text and run the delay update on it.
  c_.delaySeconds->setText("0");
  c_.delaySeconds->setMaxLength(1);
  c_.delayFraction->setText("00");
  c_.delayFraction->setMaxLength(2);
}

void MainWindow::fillPortList() {
  const QSignalBlocker quiet(c_.portList);
  // One row fills the list box, so the list shows exactly one item and scrolls by items.
  const QSize row(c_.portList->width(), c_.portList->height() - 2 * c_.portList->frameWidth());
  for (const char* text : windowlogic::kPortItems) {
    auto* item = new QListWidgetItem(text, c_.portList);
    item->setSizeHint(row);
  }
  if (gpioLines_ != nullptr) {
    auto* item = new QListWidgetItem(
        QString::fromStdString(windowlogic::gpioItemText(gpioLines_->choice())), c_.portList);
    item->setSizeHint(row);
  }
  for (const port::i2cdev::I2cAdapterInfo& adapter : adapters_) {
    auto* item = new QListWidgetItem(QString::fromStdString(windowlogic::adapterItemText(adapter)),
                                     c_.portList);
    item->setSizeHint(row);
  }
  c_.portList->clearSelection();
  appliedPortRow_ = -1;
}

std::string MainWindow::deviceAddressText() const { return latin1(c_.deviceAddress); }
std::string MainWindow::subAddressText() const { return latin1(c_.subAddress); }
std::string MainWindow::writeDataText() const { return latin1(c_.writeData); }
void MainWindow::setReadBackText(const std::string& text) {
  c_.readBack->setText(QString::fromLatin1(text));
}

void MainWindow::showWindow() {
  // The window opens with the focus on the first control of the tab order, the sub address.
  c_.subAddress->setFocus(Qt::OtherFocusReason);
  show();
  resizeClientToDesign();
}

void MainWindow::sendRegister() {
  busCommand("Send Register", [this] {
    windowlogic::sendRegister(core_.master(), readPointerThen(), fields_, *this);
  });
}

void MainWindow::openBusDebugger() { monitor_.showWindow(); }

void MainWindow::initDeviceMonitor() {
  QPalette palette = c_.ackIndicator->palette();
  palette.setColor(QPalette::WindowText,
                   QColor(windowlogic::kAckIdleColour.red, windowlogic::kAckIdleColour.green,
                          windowlogic::kAckIdleColour.blue));
  c_.ackIndicator->setPalette(palette);
  c_.ackIndicator->hide();
}

void MainWindow::updateDeviceMonitor(bool acknowledged) {
  c_.ackIndicator->show();
  const windowlogic::AckLook look = windowlogic::ackLookFor(acknowledged);
  QPalette palette = c_.ackIndicator->palette();
  palette.setColor(QPalette::WindowText,
                   QColor(look.colour.red, look.colour.green, look.colour.blue));
  c_.ackIndicator->setPalette(palette);
  c_.ackIndicator->setText(look.caption);
}

void MainWindow::choosePort() {
  QListWidgetItem* item = c_.portList->currentItem();
  if (!item || !item->isSelected()) return;
  const int row = c_.portList->row(item);
  // The status line follows the bus even when opening the new port fails.
  struct NoticeAfterwards {
    MainWindow& window;
    ~NoticeAfterwards() { window.showBusNotice(); }
  } notice{*this};
  const bool ran = busCommand("Port change", [&] {
    const auto choice = windowlogic::portChoiceOfRow(
        row, item->text().toLatin1().toStdString(), adapters_,
        gpioLines_ != nullptr ? &gpioLines_->choice() : nullptr);
    if (choice) {
      core::switchPort(core_, *choice, adapterFactory_, gpioLinesLookup());
    } else {
      core_.startBus();
    }
  });
  if (ran) {
    appliedPortRow_ = row;
    return;
  }
  // Show the port the bus is still on.
  const QSignalBlocker quiet(c_.portList);
  c_.portList->clearSelection();
  if (appliedPortRow_ >= 0) c_.portList->setCurrentRow(appliedPortRow_);
}

// The check mark flips as the item is triggered; BeepOn follows it.
void MainWindow::audibleToggled() { sendOptions_.beepOn = c_.audibleAction->isChecked(); }

}  // namespace brelvion::gui::mainwindow
