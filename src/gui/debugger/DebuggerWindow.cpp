#include "gui/debugger/DebuggerWindow.h"

#include <QCloseEvent>
#include <QIcon>
#include <QLabel>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QResizeEvent>
#include <QScrollBar>

#include "core/ToolCore.h"
#include "desktop/ErrorTrap.h"
#include "desktop/WindowSystem.h"
#include "gui/qt/AppIcons.h"
#include "gui/qt/DesignFonts.h"
#include "gui/qt/EnterPressesButtons.h"
#include "gui/qt/Twips.h"
#include "trace/TraceBufferText.h"

namespace brelvion::gui::debugger {

namespace {

using gui::qt::DesignFace;
using gui::qt::designFont;

constexpr int kClientWidthTwips = 7335;
constexpr int kClientHeightTwips = 3375;
constexpr const char* kHandlerErrorTitle = "Wisp Debugger - Error";

// Design geometry in twips: left, top, width, height.
struct TwipsBox {
  int left, top, width, height;
};

template <typename Widget>
Widget* place(Widget* widget, const char* name, TwipsBox box, double dpi) {
  widget->setObjectName(QString::fromLatin1(name));
  widget->setGeometry(gui::qt::twipsRect(box.left, box.top, box.width, box.height, dpi));
  return widget;
}

QLabel* label(QWidget* parent, const char* name, const char* caption, TwipsBox box, double dpi) {
  auto* control = place(new QLabel(QString::fromLatin1(caption), parent), name, box, dpi);
  control->setAlignment(Qt::AlignLeft | Qt::AlignTop);
  control->setTextFormat(Qt::PlainText);
  return control;
}

}  // namespace

DebuggerWindow::DebuggerWindow(core::ToolCore& core, desktop::WindowSystem& windows)
    : core_(core), windows_(windows) {
  setObjectName(QStringLiteral("Wisp"));
  setWindowTitle(QStringLiteral("Wisp Debugger"));
  setFont(designFont(DesignFace::MsSansSerif, 8.25, true));
  setWindowIcon(gui::qt::wispIcon());
  buildControls();
  buildMenus();
  setTabOrderOfControls();
  gui::qt::letEnterPressButtons(*this);
  refreshTimer_.setSingleShot(true);
  refreshTimer_.setTimerType(Qt::PreciseTimer);
  connect(&refreshTimer_, &QTimer::timeout, this, &DebuggerWindow::refreshTrace);
  const double dpi = gui::qt::logicalDpiOf(this);
  const QSize client = gui::qt::twipsSize(kClientWidthTwips, kClientHeightTwips, dpi);
  centralWidget()->setMinimumSize(client);
  resize(client.width(), client.height() + menuBar()->sizeHint().height());
  handle(kHandlerErrorTitle, &DebuggerWindow::setUpWindow);
}

DebuggerWindow::~DebuggerWindow() = default;

void DebuggerWindow::buildControls() {
  auto* client = new QWidget(this);
  client->setObjectName(QStringLiteral("client"));
  setCentralWidget(client);
  const double dpi = gui::qt::logicalDpiOf(this);

  traceBox_ = place(new QPlainTextEdit(client), "I2Cmonitor", {0, 0, 7335, 3375}, dpi);
  traceBox_->setReadOnly(true);
  traceBox_->setTextInteractionFlags(Qt::TextSelectableByMouse | Qt::TextSelectableByKeyboard);
  traceBox_->setLineWrapMode(QPlainTextEdit::NoWrap);
  traceBox_->setUndoRedoEnabled(false);
  buildTransactionsBox(client);
  client->installEventFilter(this);

  aboutText_ = label(client, "wispabout", "", {0, 720, 6255, 2655}, dpi);
  aboutText_->setWordWrap(true);
  logo_ = label(client, "WISPlogo", "Wisp95", {0, 0, 1815, 615}, dpi);
  logo_->setFont(designFont(DesignFace::MsSansSerif, 24, true));
  closeAboutButton_ = place(new QPushButton(QStringLiteral("Hide"), client), "showwisp",
                            {6360, 3000, 855, 375}, dpi);

  traceSizeSlider_ = place(new QScrollBar(Qt::Horizontal, client), "wisptraceslider",
                           {1080, 1560, 5175, 255}, dpi);
  traceSizeSlider_->setRange(trace::kTraceSliderMinimum, trace::kTraceSliderMaximum);
  traceSizeSlider_->setSingleStep(trace::kTraceSliderArrowStep);
  traceSizeSlider_->setPageStep(trace::kTraceSliderTrackStep);
  traceSizeSlider_->setValue(10);
  traceSizeCaption_ =
      label(client, "wisptracetext", "Tracebuffer Size :", {1920, 1080, 1575, 375}, dpi);
  traceSizeBox_ = label(client, "wisptracesizebox", "10", {3600, 1080, 735, 255}, dpi);
  traceSizeUnit_ = label(client, "wisptracetext2", "Lines", {4560, 1080, 615, 255}, dpi);
  traceSizeOk_ = place(new QPushButton(QStringLiteral("Ok"), client), "wisptraceok",
                       {1080, 2160, 1335, 375}, dpi);
  traceSizeCancel_ = place(new QPushButton(QStringLiteral("Cancel"), client), "wisptracecancel",
                           {4920, 2160, 1335, 375}, dpi);

  setAboutViewVisible(false);
  setTraceDialogVisible(false);

  connect(closeAboutButton_, &QPushButton::clicked, this,
          [this] { handle(kHandlerErrorTitle, &DebuggerWindow::closeAbout); });
  connect(traceSizeSlider_, &QScrollBar::valueChanged, this,
          [this] { handle(kHandlerErrorTitle, &DebuggerWindow::traceSliderMoved); });
  connect(traceSizeOk_, &QPushButton::clicked, this,
          [this] { handle(kHandlerErrorTitle, &DebuggerWindow::acceptTraceBufferSize); });
  connect(traceSizeCancel_, &QPushButton::clicked, this,
          [this] { handle(kHandlerErrorTitle, &DebuggerWindow::cancelTraceBufferSize); });
}

void DebuggerWindow::setTabOrderOfControls() {
  // The design's tab indices; the labels between them take no focus.
  setTabOrder(traceBox_, closeAboutButton_);
  setTabOrder(closeAboutButton_, traceSizeSlider_);
  setTabOrder(traceSizeSlider_, traceSizeOk_);
  setTabOrder(traceSizeOk_, traceSizeCancel_);
}

QAction* DebuggerWindow::addCommand(QWidget* menu, const char* name, const char* caption,
                                    Handler handler) {
  auto* action = new QAction(QString::fromLatin1(caption), menu);
  action->setObjectName(QString::fromLatin1(name));
  menu->addAction(action);
  const char* title = kHandlerErrorTitle;
  connect(action, &QAction::triggered, this, [this, title, handler] { handle(title, handler); });
  return action;
}

void DebuggerWindow::buildMenus() {
  QMenuBar* bar = menuBar();
  addCommand(bar, "wisphide", "&Hide", &DebuggerWindow::hideWindow);

  QMenu* file = bar->addMenu(QStringLiteral("&File"));
  file->setObjectName(QStringLiteral("wispfile"));
  addCommand(file, "wispfilesave", "&Save", &DebuggerWindow::saveTrace);
  addCommand(file, "wispfileload", "&Load", &DebuggerWindow::loadTrace);
  addScriptCommands(file);
  file->addSeparator();
  addCommand(file, "wispfileabout", "&About", &DebuggerWindow::showAbout);

  addCommand(bar, "wispclear", "&Clear", &DebuggerWindow::clearTrace);

  QMenu* runMode = bar->addMenu(QStringLiteral("&RunMode"));
  runMode->setObjectName(QStringLiteral("wisprunmode"));
  runStopItem_ = addCommand(runMode, "wisprunstop", "Stop", &DebuggerWindow::stopTracing);
  runStandardItem_ =
      addCommand(runMode, "wisprunstandard", "Standard", &DebuggerWindow::traceStandard);
  runExtendedItem_ =
      addCommand(runMode, "wisprunextended", "Extended", &DebuggerWindow::traceExtended);
  for (QAction* item : {runStopItem_, runStandardItem_, runExtendedItem_}) {
    item->setCheckable(true);
  }
  runStandardItem_->setChecked(true);

  QMenu* options = bar->addMenu(QStringLiteral("Options"));
  options->setObjectName(QStringLiteral("wispoptions"));
  addCommand(options, "wispoptionbuffer", "Tracebuffer", &DebuggerWindow::openTraceBufferDialog);
  stopOnErrorItem_ =
      addCommand(options, "wispoptionstop", "Stop on Error", &DebuggerWindow::toggleStopOnError);
  stopOnErrorItem_->setCheckable(true);

  buildViewMenu();
  addCommand(bar, "Help", "Help", &DebuggerWindow::showDebuggerHelp);
}

void DebuggerWindow::handle(const char* errorTitle, Handler handler) {
  ++runningHandlers_;
  desktop::runHandler(windows_, errorTitle, [this, handler] { (this->*handler)(); });
  --runningHandlers_;
  if (runningHandlers_ == 0 && destroyPending_) deleteLater();
}

void DebuggerWindow::destroyWhenIdle() {
  if (runningHandlers_ > 0) {
    destroyPending_ = true;
  } else {
    deleteLater();
  }
}

// The window opens at the design's size; made larger, the trace and the transactions
// fill it, while the about view and the trace-buffer dialog keep their places.
bool DebuggerWindow::eventFilter(QObject* watched, QEvent* event) {
  if (watched == centralWidget() && event->type() == QEvent::Resize) {
    const QRect whole(QPoint(0, 0), static_cast<QResizeEvent*>(event)->size());
    traceBox_->setGeometry(whole);
    transactionsBox_->setGeometry(whole);
  }
  return QMainWindow::eventFilter(watched, event);
}

void DebuggerWindow::closeEvent(QCloseEvent* event) {
  event->accept();
  emit closedThroughFrame();
}

void DebuggerWindow::setTraceText(std::string text) {
  trace_ = std::move(text);
  if (refreshPending_) return;
  refreshPending_ = true;
  // Filling and painting the box costs a millisecond or more at the largest bound, and the
  // log lets events run after each line it adds to a full trace: redrawing at every one of
  // those passes would make a burst of lines many times slower than the bus.
  const qint64 waited = sinceRefresh_.isValid() ? sinceRefresh_.elapsed() : kTraceRefreshMs;
  if (waited >= kTraceRefreshMs) {
    QMetaObject::invokeMethod(this, &DebuggerWindow::refreshTrace, Qt::QueuedConnection);
  } else {
    refreshTimer_.start(int(kTraceRefreshMs - waited));
  }
}

void DebuggerWindow::refreshTrace() {
  if (!refreshPending_) return;
  refreshPending_ = false;
  refreshTimer_.stop();
  sinceRefresh_.start();
  QScrollBar* lines = traceBox_->verticalScrollBar();
  QScrollBar* columns = traceBox_->horizontalScrollBar();
  // Follow the newest line only while the user looks at the end; someone reading back
  // keeps their place.
  const bool following = lines->value() >= lines->maximum();
  const int line = lines->value();
  const int column = columns->value();
  // One character per byte: the trace holds 8-bit text, loaded files included.
  traceBox_->setPlainText(QString::fromLatin1(trace_.data(), qsizetype(trace_.size())));
  lines->setValue(following ? lines->maximum() : line);
  columns->setValue(column);
}

void DebuggerWindow::setAboutViewVisible(bool visible) {
  showListView(!visible);
  for (QWidget* control : {static_cast<QWidget*>(aboutText_), static_cast<QWidget*>(logo_),
                           static_cast<QWidget*>(closeAboutButton_)}) {
    control->setVisible(visible);
  }
}

void DebuggerWindow::setTraceDialogVisible(bool visible) {
  for (QWidget* control :
       {static_cast<QWidget*>(traceSizeCaption_), static_cast<QWidget*>(traceSizeUnit_),
        static_cast<QWidget*>(traceSizeBox_), static_cast<QWidget*>(traceSizeSlider_),
        static_cast<QWidget*>(traceSizeOk_), static_cast<QWidget*>(traceSizeCancel_)}) {
    control->setVisible(visible);
  }
  showListView(!visible);
}

}  // namespace brelvion::gui::debugger
