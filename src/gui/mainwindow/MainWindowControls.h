#pragma once

class QAction;
class QGroupBox;
class QLabel;
class QListWidget;
class QMainWindow;
class QMenu;
class QPushButton;
class QScrollBar;
class QWidget;

namespace brelvion::gui::mainwindow {

class EntryField;

inline constexpr int kClientWidthTwips = 6450;
inline constexpr int kClientHeightTwips = 4965;
inline constexpr int kPanelWidthTwips = 6135;
inline constexpr int kPanelHeightTwips = 4695;
inline constexpr int kScrollBarTwips = 255;

// Every control and menu item of the main window, named as designed. Label3_0 and
// Label3_1 are the two elements of the design's label array Label3; Command3, the only
// element of its array, keeps the array's name.
struct MainWindowControls {
  QWidget* client = nullptr;    // the window's client area below the menu bar
  QWidget* Picture1 = nullptr;  // viewport
  QWidget* Picture2 = nullptr;  // content panel
  QScrollBar* HScroll1 = nullptr;
  QScrollBar* VScroll1 = nullptr;

  QLabel* Label5 = nullptr;
  QListWidget* ports = nullptr;
  QLabel* Label2 = nullptr;
  EntryField* Text2 = nullptr;
  QPushButton* Command3 = nullptr;

  QGroupBox* Frame1 = nullptr;
  QPushButton* Command1 = nullptr;
  QPushButton* Command5 = nullptr;
  QLabel* Label4 = nullptr;
  EntryField* Text6 = nullptr;
  QLabel* Label7 = nullptr;
  EntryField* Text7 = nullptr;
  QLabel* Label6 = nullptr;
  QLabel* Label1 = nullptr;
  EntryField* Text5 = nullptr;
  QPushButton* cmdDumpToFile = nullptr;
  EntryField* txtDmpFile = nullptr;
  QLabel* Label9 = nullptr;
  EntryField* txtCnt = nullptr;

  QLabel* lblAck = nullptr;

  QGroupBox* Frame2 = nullptr;
  QLabel* Label3_0 = nullptr;
  EntryField* Text3 = nullptr;
  QLabel* Label3_1 = nullptr;
  EntryField* Text4 = nullptr;
  QPushButton* Command2 = nullptr;
  QLabel* Label8 = nullptr;
  EntryField* txtRRead = nullptr;

  QMenu* mnuFile = nullptr;
  QAction* mnuFileOpen = nullptr;
  QAction* mnuFileNew = nullptr;
  QAction* mnuFileExit = nullptr;
  QMenu* Help = nullptr;
  QAction* zelhelp = nullptr;
  QMenu* docs = nullptr;
  QAction* bushelp = nullptr;
  QAction* cable = nullptr;
  QMenu* mnuOption = nullptr;
  QAction* mnuBeepOn = nullptr;
};

// Creates the controls with their design texts, tool tips, fonts, places (the design's
// twips at the screen's DPI) and tab order, and the menus; the window's central widget
// becomes the client area.
void buildControls(QMainWindow& window, MainWindowControls& c);

}  // namespace brelvion::gui::mainwindow
