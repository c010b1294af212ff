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

// Every control and menu item of the main window, named for what it is. Each widget's
// objectName is the design's control name (Text2, Command2, mnuFileOpen, ...), by which
// tests and accessibility tools find it; Label3_0 and Label3_1 are the two elements of the
// design's label array Label3, and Command3, the only element of its array, keeps the
// array's name.
struct MainWindowControls {
  QWidget* client = nullptr;    // the window's client area below the menu bar
  QWidget* viewport = nullptr;  // Picture1, the part of the panel in view
  QWidget* panel = nullptr;     // Picture2, every control below sits on it
  QScrollBar* horizontalBar = nullptr;
  QScrollBar* verticalBar = nullptr;

  QLabel* portLabel = nullptr;
  QListWidget* portList = nullptr;
  QLabel* deviceAddressLabel = nullptr;
  EntryField* deviceAddress = nullptr;
  QPushButton* monitorButton = nullptr;

  QGroupBox* commandFileFrame = nullptr;
  QPushButton* sendFileButton = nullptr;
  QPushButton* editFileButton = nullptr;
  QLabel* delayLabel = nullptr;
  EntryField* delaySeconds = nullptr;
  QLabel* delayPoint = nullptr;
  EntryField* delayFraction = nullptr;
  QLabel* secondsLabel = nullptr;
  QLabel* fileNameLabel = nullptr;
  EntryField* fileName = nullptr;
  QPushButton* dumpButton = nullptr;
  EntryField* dumpFileName = nullptr;
  QLabel* lineCountLabel = nullptr;
  EntryField* lineCount = nullptr;

  QLabel* ackIndicator = nullptr;

  QGroupBox* singleRegisterFrame = nullptr;
  QLabel* subAddressLabel = nullptr;
  EntryField* subAddress = nullptr;
  QLabel* writeDataLabel = nullptr;
  EntryField* writeData = nullptr;
  QPushButton* sendRegisterButton = nullptr;
  QLabel* readBackLabel = nullptr;
  EntryField* readBack = nullptr;

  QMenu* fileMenu = nullptr;
  QAction* openAction = nullptr;
  QAction* newFileAction = nullptr;
  QAction* exitAction = nullptr;
  QMenu* helpMenu = nullptr;
  QAction* toolHelpAction = nullptr;
  QMenu* documentsMenu = nullptr;
  QAction* busHelpAction = nullptr;
  QAction* cableAction = nullptr;
  QMenu* optionMenu = nullptr;
  QAction* audibleAction = nullptr;
  // Not in the design: the buses engineers have today.
  QMenu* busMenu = nullptr;
  QAction* scanAction = nullptr;
  QAction* repeatedStartAction = nullptr;
  QAction* registerMapAction = nullptr;
  QAction* recoverAction = nullptr;
  QAction* stepTimeAction = nullptr;
};

// Creates the controls with their design texts, tool tips, fonts, places (the design's
// twips at the screen's DPI) and tab order, and the menus; the window's central widget
// becomes the client area.
void buildControls(QMainWindow& window, MainWindowControls& c);

// Puts the line controls, Recover Bus and Step Time..., below the Bus menu's own items
// after a separator (MainWindowLineControls.cpp).
void addLineControlItems(MainWindowControls& c);

}  // namespace brelvion::gui::mainwindow
