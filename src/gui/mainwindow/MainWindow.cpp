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
#include "gui/qt/Twips.h"
#include "windowlogic/DeviceMonitor.h"
#include "windowlogic/PortList.h"

namespace brelvion::gui::mainwindow {

namespace {

constexpr int kRefusalShownMs = 10000;

std::string latin1(const QLineEdit* field) { return field->text().toLatin1().toStdString(); }

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
}

// The watch goes first: the events of tearing the window down must not reach a half-gone
// window.
MainWindow::~MainWindow() { delete programWatch_; }

void MainWindow::Form_Load(const windowlogic::LoadOptions& options) {
  trapped([&] { windowlogic::Form_Load(core_, *this, options); });
  // The start-up window shows once its load is over, even when the load stopped early:
  // the user can still pick another port or look at the debugger.
  if (!isVisible()) trapped([this] { showWindow(); });
}

void MainWindow::setBusNotice(const QString& text) { busNotice_->setText(text); }

void MainWindow::trapped(const std::function<void()>& handler) {
  if (ending_) return;
  desktop::runHandler(windows_, "", handler);
}

void MainWindow::connectHandlers() {
  handle(c_.Command2, &QPushButton::clicked, &MainWindow::Command2_Click);
  handle(c_.Command3, &QPushButton::clicked, &MainWindow::Command3_Click);
  handle(c_.Command1, &QPushButton::clicked, &MainWindow::Command1_Click);
  handle(c_.Command5, &QPushButton::clicked, &MainWindow::Command5_Click);
  handle(c_.cmdDumpToFile, &QPushButton::clicked, &MainWindow::cmdDumpToFile_Click);
  handle(c_.ports, &QListWidget::itemSelectionChanged, &MainWindow::ports_Click);
  connect(c_.ports, &QListWidget::itemClicked, this, [this] {
    if (pressedRowWasSelected_) trapped([this] { ports_Click(); });
  });
  c_.ports->viewport()->installEventFilter(this);
  handle(c_.mnuFileOpen, &QAction::triggered, &MainWindow::mnuFileOpen_Click);
  handle(c_.mnuFileNew, &QAction::triggered, &MainWindow::mnuFileNew_Click);
  handle(c_.mnuFileExit, &QAction::triggered, &MainWindow::mnuFileExit_Click);
  handle(c_.zelhelp, &QAction::triggered, &MainWindow::zelhelp_Click);
  handle(c_.bushelp, &QAction::triggered, &MainWindow::bushelp_Click);
  handle(c_.cable, &QAction::triggered, &MainWindow::cable_Click);
  handle(c_.mnuBeepOn, &QAction::triggered, &MainWindow::mnuBeepOn_Click);
  handle(c_.HScroll1, &QScrollBar::valueChanged, &MainWindow::HScroll1_Change);
  handle(c_.VScroll1, &QScrollBar::valueChanged, &MainWindow::VScroll1_Change);
  c_.client->installEventFilter(this);
  connectFieldHandlers();
}

bool MainWindow::eventFilter(QObject* watched, QEvent* event) {
  if (watched == c_.client && event->type() == QEvent::Resize) {
    trapped([this] { Form_Resize(); });
  } else if (watched == c_.ports->viewport() && event->type() == QEvent::MouseButtonPress) {
    const QListWidgetItem* item =
        c_.ports->itemAt(static_cast<QMouseEvent*>(event)->position().toPoint());
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
  c_.Text6->setText("0");
  c_.Text6->setMaxLength(1);
  c_.Text7->setText("00");
  c_.Text7->setMaxLength(2);
}

bool MainWindow::audibleChecked() const { return c_.mnuBeepOn->isChecked(); }

void MainWindow::fillPortList() {
  const QSignalBlocker quiet(c_.ports);
  // One row fills the list box, so the list shows exactly one item and scrolls by items.
  const QSize row(c_.ports->width(), c_.ports->height() - 2 * c_.ports->frameWidth());
  for (const char* text : windowlogic::kPortItems) {
    auto* item = new QListWidgetItem(text, c_.ports);
    item->setSizeHint(row);
  }
  c_.ports->clearSelection();
  appliedPortRow_ = -1;
}

std::string MainWindow::deviceAddressText() const { return latin1(c_.Text2); }
std::string MainWindow::subAddressText() const { return latin1(c_.Text3); }
std::string MainWindow::writeDataText() const { return latin1(c_.Text4); }
void MainWindow::setReadBackText(const std::string& text) {
  c_.txtRRead->setText(QString::fromLatin1(text));
}

void MainWindow::showWindow() {
  // The window opens with the focus on the first control of the tab order, the sub address.
  c_.Text3->setFocus(Qt::OtherFocusReason);
  show();
  resizeClientToDesign();
}

void MainWindow::Command2_Click() {
  busCommand("Send Register", [this] { windowlogic::Command2_Click(core_, *this); });
}

void MainWindow::Command3_Click() { monitor_.showWindow(); }

void MainWindow::InitDeviceMonitor() {
  QPalette palette = c_.lblAck->palette();
  palette.setColor(QPalette::WindowText,
                   QColor(windowlogic::kAckIdleColour.red, windowlogic::kAckIdleColour.green,
                          windowlogic::kAckIdleColour.blue));
  c_.lblAck->setPalette(palette);
  c_.lblAck->hide();
}

void MainWindow::UpdateDeviceMonitor() {
  c_.lblAck->show();
  const windowlogic::AckLook look = windowlogic::ackLookFor(core_.busState().AckReceived);
  QPalette palette = c_.lblAck->palette();
  palette.setColor(QPalette::WindowText,
                   QColor(look.colour.red, look.colour.green, look.colour.blue));
  c_.lblAck->setPalette(palette);
  c_.lblAck->setText(look.caption);
}

void MainWindow::ports_Click() {
  QListWidgetItem* item = c_.ports->currentItem();
  if (!item || !item->isSelected()) return;
  const int row = c_.ports->row(item);
  const bool ran = busCommand("Port change", [&] {
    if (auto index = windowlogic::PortIndexOfItem(item->text().toLatin1().toStdString())) {
      core_.ports().PortIndex = *index;
    }
    core_.StartBus();
  });
  if (ran) {
    appliedPortRow_ = row;
    return;
  }
  // Show the port the bus is still on.
  const QSignalBlocker quiet(c_.ports);
  c_.ports->clearSelection();
  if (appliedPortRow_ >= 0) c_.ports->setCurrentRow(appliedPortRow_);
}

// The check mark flips as the item is triggered; BeepOn follows it.
void MainWindow::mnuBeepOn_Click() { core_.values().BeepOn = c_.mnuBeepOn->isChecked(); }

}  // namespace brelvion::gui::mainwindow
