#include "gui/mainwindow/MainWindowControls.h"

#include <QAction>
#include <QGroupBox>
#include <QKeySequence>
#include <QLabel>
#include <QListWidget>
#include <QMainWindow>
#include <QMenuBar>
#include <QPushButton>
#include <QScrollBar>

#include "gui/mainwindow/EntryField.h"
#include "gui/qt/DesignFonts.h"
#include "gui/qt/Twips.h"

namespace brelvion::gui::mainwindow {

namespace {

using gui::qt::DesignFace;
using gui::qt::designFont;

constexpr double kControlPointSize = 9.75;
constexpr double kWindowDefaultPointSize = 8.25;
constexpr double kListPointSize = 12;
constexpr double kPointPointSize = 13.5;
constexpr double kAckPointSize = 12;
constexpr const char* kInHex = "In Hex";

// Places widgets from design twips.
class Designer {
 public:
  explicit Designer(double dpi) : dpi_(dpi) {}

  template <typename W>
  W* add(QWidget* parent, const char* name, int left, int top, int width, int height,
         const QFont& font) {
    auto* widget = new W(parent);
    widget->setObjectName(name);
    widget->setGeometry(gui::qt::twipsRect(left, top, width, height, dpi_));
    widget->setFont(font);
    return widget;
  }
  QLabel* label(QWidget* parent, const char* name, const char* text, int left, int top, int width,
                int height, const QFont& font = controlFont()) {
    auto* label = add<QLabel>(parent, name, left, top, width, height, font);
    label->setText(text);
    label->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    return label;
  }
  EntryField* field(QWidget* parent, const char* name, const char* text, int left, int top,
                    int width, int height, const QFont& font = controlFont()) {
    auto* field = add<EntryField>(parent, name, left, top, width, height, font);
    field->setText(text);
    return field;
  }
  QPushButton* button(QWidget* parent, const char* name, const char* caption, int left, int top,
                      int width, int height) {
    auto* button = add<QPushButton>(parent, name, left, top, width, height, controlFont());
    button->setText(caption);
    return button;
  }
  static QFont controlFont() {
    return designFont(DesignFace::MsSansSerif, kControlPointSize, true);
  }
  static QFont defaultFont() {
    return designFont(DesignFace::MsSansSerif, kWindowDefaultPointSize, false);
  }

 private:
  double dpi_;
};

void buildTopOfPanel(Designer& d, MainWindowControls& c) {
  QWidget* p = c.panel;
  c.portLabel = d.label(p, "Label5", "LPT", 120, 210, 435, 240);
  c.portList = d.add<QListWidget>(p, "ports", 600, 120, 2175, 360,
                                  designFont(DesignFace::MsSansSerif, kListPointSize, true));
  c.portList->setSelectionMode(QAbstractItemView::SingleSelection);
  c.portList->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
  c.deviceAddressLabel = d.label(p, "Label2", "Device Address:", 480, 690, 1740, 240);
  c.deviceAddress = d.field(p, "Text2", "42", 2280, 600, 495, 345);
  c.deviceAddress->setMaxLength(2);
  c.deviceAddress->setToolTip(kInHex);
  c.monitorButton = d.button(p, "Command3", "Wisp Monitor", 3480, 360, 2295, 375);
}

void buildCommandFileFrame(Designer& d, MainWindowControls& c) {
  c.commandFileFrame =
      d.add<QGroupBox>(c.panel, "Frame1", 0, 1080, 6015, 1815, Designer::defaultFont());
  c.commandFileFrame->setTitle("Command File");
  QWidget* f = c.commandFileFrame;
  c.sendFileButton = d.button(f, "Command1", "Send File", 240, 240, 1455, 375);
  c.editFileButton = d.button(f, "Command5", "Edit File", 1800, 240, 1455, 375);
  c.delayLabel = d.label(f, "Label4", "Delay", 3480, 300, 735, 255);
  c.delaySeconds = d.field(f, "Text6", " 0", 4200, 240, 375, 375);
  c.delayPoint = d.label(f, "Label7", ".", 4560, 240, 135, 375,
                         designFont(DesignFace::MsSansSerif, kPointPointSize, true));
  c.delayFraction = d.field(f, "Text7", " 00", 4680, 240, 495, 375);
  c.secondsLabel = d.label(f, "Label6", "Sec", 5280, 300, 495, 255);
  c.fileNameLabel = d.label(f, "Label1", "I2C data file:", 960, 840, 1305, 240);
  c.fileName = d.field(f, "Text5", "", 2400, 720, 3375, 375, Designer::defaultFont());
  // Only Open and Send File name the file: a paste or a middle-click would bypass the focus
  // that the field passes on to Send File.
  c.fileName->setReadOnly(true);
  c.dumpButton = d.button(f, "cmdDumpToFile", "Dump to File", 240, 1200, 2055, 375);
  c.dumpFileName =
      d.field(f, "txtDmpFile", " Dump.i2c", 2400, 1200, 1335, 375, Designer::defaultFont());
  c.lineCountLabel = d.label(f, "Label9", "Line Count:", 4080, 1290, 1215, 255);
  c.lineCount = d.field(f, "txtCnt", "00", 5280, 1200, 495, 345);
  c.lineCount->setToolTip("Total data bytes dumped to the file.( In decimal)");
}

void buildSingleRegisterFrame(Designer& d, MainWindowControls& c) {
  c.ackIndicator = d.label(c.panel, "lblAck", "ACK", 120, 2880, 6015, 255,
                           designFont(DesignFace::Tahoma, kAckPointSize, true));
  c.ackIndicator->setAlignment(Qt::AlignHCenter | Qt::AlignTop);
  c.singleRegisterFrame =
      d.add<QGroupBox>(c.panel, "Frame2", 0, 3120, 6015, 1455, Designer::defaultFont());
  c.singleRegisterFrame->setTitle("Single Register");
  QWidget* f = c.singleRegisterFrame;
  c.subAddressLabel = d.label(f, "Label3_0", "Sub Address:", 765, 330, 1410, 240);
  c.subAddress = d.field(f, "Text3", "00", 2280, 240, 495, 420);
  c.subAddress->setMaxLength(2);
  c.subAddress->setToolTip(kInHex);
  c.writeDataLabel = d.label(f, "Label3_1", "Write Data:", 3645, 330, 1170, 240);
  c.writeData = d.field(f, "Text4", "00", 4920, 240, 495, 420);
  c.writeData->setMaxLength(2);
  c.writeData->setToolTip(kInHex);
  c.sendRegisterButton = d.button(f, "Command2", "Send Register", 480, 840, 2535, 375);
  c.readBackLabel = d.label(f, "Label8", "Read Back:", 3600, 930, 1335, 255);
  c.readBack = d.field(f, "txtRRead", "", 4920, 840, 495, 420,
                       designFont(DesignFace::MsSansSerif, kListPointSize, true));
  c.readBack->setToolTip(kInHex);
}

void buildViewport(Designer& d, MainWindowControls& c, double dpi) {
  c.viewport = d.add<QWidget>(c.client, "Picture1", 120, 0, 6255, 4815, Designer::defaultFont());
  c.panel = d.add<QWidget>(c.viewport, "Picture2", 0, 0, kPanelWidthTwips, kPanelHeightTwips,
                           Designer::defaultFont());
  c.panel->setFixedSize(gui::qt::twipsSize(kPanelWidthTwips, kPanelHeightTwips, dpi));
  const int thickness = gui::qt::twipsToPixels(kScrollBarTwips, dpi);
  c.horizontalBar = new QScrollBar(Qt::Horizontal, c.client);
  c.horizontalBar->setObjectName("HScroll1");
  c.horizontalBar->setFixedHeight(thickness);
  c.verticalBar = new QScrollBar(Qt::Vertical, c.client);
  c.verticalBar->setObjectName("VScroll1");
  c.verticalBar->setFixedWidth(thickness);
  for (QScrollBar* bar : {c.horizontalBar, c.verticalBar}) {
    bar->setRange(0, 0);
    bar->setSingleStep(1);
    bar->setPageStep(1);
    bar->setFocusPolicy(Qt::TabFocus);
  }
}

void buildMenus(QMainWindow& window, MainWindowControls& c) {
  QMenuBar* bar = window.menuBar();
  auto item = [](QMenu* menu, const char* name, const char* caption) {
    QAction* action = menu->addAction(caption);
    action->setObjectName(name);
    return action;
  };
  c.fileMenu = bar->addMenu("&File");
  c.fileMenu->setObjectName("mnuFile");
  c.openAction = item(c.fileMenu, "mnuFileOpen", "Open");
  c.openAction->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_O));
  c.newFileAction = item(c.fileMenu, "mnuFileNew", "New I2C File");
  c.fileMenu->addSeparator()->setObjectName("mnuFileSp1");
  c.exitAction = item(c.fileMenu, "mnuFileExit", "Exit");
  c.exitAction->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_X));

  c.helpMenu = bar->addMenu("Help");
  c.helpMenu->setObjectName("Help");
  c.toolHelpAction = item(c.helpMenu, "zelhelp", "VIDODU Help");
  c.documentsMenu = c.helpMenu->addMenu("Acrobat Documents");
  c.documentsMenu->setObjectName("docs");
  c.busHelpAction = item(c.documentsMenu, "bushelp", "IIC Bus Help");
  c.cableAction = item(c.documentsMenu, "cable", "Cable Schematic");

  c.optionMenu = bar->addMenu("Option");
  c.optionMenu->setObjectName("mnuOption");
  c.audibleAction = item(c.optionMenu, "mnuBeepOn", "Audible");
  c.audibleAction->setCheckable(true);
  c.audibleAction->setChecked(true);
}

// After Option, the one menu the design did not have. Its items go below one another here,
// each with a letter of its own for the keyboard.
void buildBusMenu(QMainWindow& window, MainWindowControls& c) {
  c.busMenu = window.menuBar()->addMenu("&Bus");
  c.busMenu->setObjectName("mnuBus");
  c.scanAction = c.busMenu->addAction("&Scan...");
  c.scanAction->setObjectName("mnuBusScan");
  c.repeatedStartAction = c.busMenu->addAction("&Repeated START");
  c.repeatedStartAction->setObjectName("mnuBusRepeatedStart");
  c.repeatedStartAction->setCheckable(true);
  c.repeatedStartAction->setChecked(false);
  c.registerMapAction = c.busMenu->addAction("Register &Map...");
  c.registerMapAction->setObjectName("mnuBusRegisterMap");
}

// The design's tab indices, lowest first; labels and frames take no focus.
void setTabOrder(const MainWindowControls& c) {
  QWidget* const order[] = {
      c.subAddress,    c.writeData,    c.sendRegisterButton, c.horizontalBar,  c.verticalBar,
      c.portList,      c.fileName,     c.monitorButton,      c.sendFileButton, c.editFileButton,
      c.delayFraction, c.delaySeconds, c.readBack,           c.dumpButton,     c.dumpFileName,
      c.deviceAddress, c.lineCount};
  for (std::size_t i = 1; i < std::size(order); ++i) {
    QWidget::setTabOrder(order[i - 1], order[i]);
  }
}

}  // namespace

void buildControls(QMainWindow& window, MainWindowControls& c) {
  const double dpi = gui::qt::logicalDpiOf(&window);
  Designer designer(dpi);
  c.client = new QWidget(&window);
  c.client->setObjectName("client");
  c.client->setFont(Designer::defaultFont());
  window.setCentralWidget(c.client);
  buildViewport(designer, c, dpi);
  buildTopOfPanel(designer, c);
  buildCommandFileFrame(designer, c);
  buildSingleRegisterFrame(designer, c);
  buildMenus(window, c);
  buildBusMenu(window, c);
  addLineControlItems(c);
  setTabOrder(c);
}

}  // namespace brelvion::gui::mainwindow
