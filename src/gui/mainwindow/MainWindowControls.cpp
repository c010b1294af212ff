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
  QWidget* p = c.Picture2;
  c.Label5 = d.label(p, "Label5", "LPT", 120, 210, 435, 240);
  c.ports = d.add<QListWidget>(p, "ports", 600, 120, 2175, 360,
                               designFont(DesignFace::MsSansSerif, kListPointSize, true));
  c.ports->setSelectionMode(QAbstractItemView::SingleSelection);
  c.ports->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
  c.Label2 = d.label(p, "Label2", "Device Address:", 480, 690, 1740, 240);
  c.Text2 = d.field(p, "Text2", "42", 2280, 600, 495, 345);
  c.Text2->setMaxLength(2);
  c.Text2->setToolTip(kInHex);
  c.Command3 = d.button(p, "Command3", "Wisp Monitor", 3480, 360, 2295, 375);
}

void buildFrame1(Designer& d, MainWindowControls& c) {
  c.Frame1 = d.add<QGroupBox>(c.Picture2, "Frame1", 0, 1080, 6015, 1815, Designer::defaultFont());
  c.Frame1->setTitle("Command File");
  QWidget* f = c.Frame1;
  c.Command1 = d.button(f, "Command1", "Send File", 240, 240, 1455, 375);
  c.Command5 = d.button(f, "Command5", "Edit File", 1800, 240, 1455, 375);
  c.Label4 = d.label(f, "Label4", "Delay", 3480, 300, 735, 255);
  c.Text6 = d.field(f, "Text6", " 0", 4200, 240, 375, 375);
  c.Label7 = d.label(f, "Label7", ".", 4560, 240, 135, 375,
                     designFont(DesignFace::MsSansSerif, kPointPointSize, true));
  c.Text7 = d.field(f, "Text7", " 00", 4680, 240, 495, 375);
  c.Label6 = d.label(f, "Label6", "Sec", 5280, 300, 495, 255);
  c.Label1 = d.label(f, "Label1", "I2C data file:", 960, 840, 1305, 240);
  c.Text5 = d.field(f, "Text5", "", 2400, 720, 3375, 375, Designer::defaultFont());
  c.cmdDumpToFile = d.button(f, "cmdDumpToFile", "Dump to File", 240, 1200, 2055, 375);
  c.txtDmpFile =
      d.field(f, "txtDmpFile", " Dump.i2c", 2400, 1200, 1335, 375, Designer::defaultFont());
  c.Label9 = d.label(f, "Label9", "Line Count:", 4080, 1290, 1215, 255);
  c.txtCnt = d.field(f, "txtCnt", "00", 5280, 1200, 495, 345);
  c.txtCnt->setToolTip("Total data bytes dumped to the file.( In decimal)");
}

void buildFrame2(Designer& d, MainWindowControls& c) {
  c.lblAck = d.label(c.Picture2, "lblAck", "ACK", 120, 2880, 6015, 255,
                     designFont(DesignFace::Tahoma, kAckPointSize, true));
  c.lblAck->setAlignment(Qt::AlignHCenter | Qt::AlignTop);
  c.Frame2 = d.add<QGroupBox>(c.Picture2, "Frame2", 0, 3120, 6015, 1455, Designer::defaultFont());
  c.Frame2->setTitle("Single Register");
  QWidget* f = c.Frame2;
  c.Label3_0 = d.label(f, "Label3_0", "Sub Address:", 765, 330, 1410, 240);
  c.Text3 = d.field(f, "Text3", "00", 2280, 240, 495, 420);
  c.Text3->setMaxLength(2);
  c.Text3->setToolTip(kInHex);
  c.Label3_1 = d.label(f, "Label3_1", "Write Data:", 3645, 330, 1170, 240);
  c.Text4 = d.field(f, "Text4", "00", 4920, 240, 495, 420);
  c.Text4->setMaxLength(2);
  c.Text4->setToolTip(kInHex);
  c.Command2 = d.button(f, "Command2", "Send Register", 480, 840, 2535, 375);
  c.Label8 = d.label(f, "Label8", "Read Back:", 3600, 930, 1335, 255);
  c.txtRRead = d.field(f, "txtRRead", "", 4920, 840, 495, 420,
                       designFont(DesignFace::MsSansSerif, kListPointSize, true));
  c.txtRRead->setToolTip(kInHex);
}

void buildViewport(Designer& d, MainWindowControls& c, double dpi) {
  c.Picture1 = d.add<QWidget>(c.client, "Picture1", 120, 0, 6255, 4815, Designer::defaultFont());
  c.Picture2 = d.add<QWidget>(c.Picture1, "Picture2", 0, 0, kPanelWidthTwips, kPanelHeightTwips,
                              Designer::defaultFont());
  c.Picture2->setFixedSize(gui::qt::twipsSize(kPanelWidthTwips, kPanelHeightTwips, dpi));
  const int thickness = gui::qt::twipsToPixels(kScrollBarTwips, dpi);
  c.HScroll1 = new QScrollBar(Qt::Horizontal, c.client);
  c.HScroll1->setObjectName("HScroll1");
  c.HScroll1->setFixedHeight(thickness);
  c.VScroll1 = new QScrollBar(Qt::Vertical, c.client);
  c.VScroll1->setObjectName("VScroll1");
  c.VScroll1->setFixedWidth(thickness);
  for (QScrollBar* bar : {c.HScroll1, c.VScroll1}) {
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
  c.mnuFile = bar->addMenu("&File");
  c.mnuFile->setObjectName("mnuFile");
  c.mnuFileOpen = item(c.mnuFile, "mnuFileOpen", "Open");
  c.mnuFileOpen->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_O));
  c.mnuFileNew = item(c.mnuFile, "mnuFileNew", "New I2C File");
  c.mnuFile->addSeparator()->setObjectName("mnuFileSp1");
  c.mnuFileExit = item(c.mnuFile, "mnuFileExit", "Exit");
  c.mnuFileExit->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_X));

  c.Help = bar->addMenu("Help");
  c.Help->setObjectName("Help");
  c.zelhelp = item(c.Help, "zelhelp", "VIDODU Help");
  c.docs = c.Help->addMenu("Acrobat Documents");
  c.docs->setObjectName("docs");
  c.bushelp = item(c.docs, "bushelp", "IIC Bus Help");
  c.cable = item(c.docs, "cable", "Cable Schematic");

  c.mnuOption = bar->addMenu("Option");
  c.mnuOption->setObjectName("mnuOption");
  c.mnuBeepOn = item(c.mnuOption, "mnuBeepOn", "Audible");
  c.mnuBeepOn->setCheckable(true);
  c.mnuBeepOn->setChecked(true);
}

// The design's tab indices, lowest first; labels and frames take no focus.
void setTabOrder(const MainWindowControls& c) {
  QWidget* const order[] = {c.Text3, c.Text4, c.Command2, c.HScroll1,      c.VScroll1,
                            c.ports, c.Text5, c.Command3, c.Command1,      c.Command5,
                            c.Text7, c.Text6, c.txtRRead, c.cmdDumpToFile, c.txtDmpFile,
                            c.Text2, c.txtCnt};
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
  buildFrame1(designer, c);
  buildFrame2(designer, c);
  buildMenus(window, c);
  setTabOrder(c);
}

}  // namespace brelvion::gui::mainwindow
