#pragma once

#include <QAction>
#include <QDir>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <fstream>
#include <sstream>
#include <string>

#include "MainWindowHarness.h"
#include "support/DesignTransactions.h"

namespace brelvion::testing {

// Each test runs in a fresh current directory, where the program keeps tmpI2C.txt and
// writes its dumps by default.
class ScratchCurrentDirectory {
 public:
  ScratchCurrentDirectory() : previous_(QDir::currentPath()) {
    if (!dir_.isValid() || !QDir::setCurrent(dir_.path())) qFatal("no scratch directory");
  }
  ~ScratchCurrentDirectory() { QDir::setCurrent(previous_); }
  ScratchCurrentDirectory(const ScratchCurrentDirectory&) = delete;
  ScratchCurrentDirectory& operator=(const ScratchCurrentDirectory&) = delete;

  std::string file(const std::string& name) const {
    return dir_.filePath(QString::fromStdString(name)).toStdString();
  }
  std::string write(const std::string& name, const std::string& content) const {
    std::ofstream(file(name), std::ios::binary) << content;
    return file(name);
  }

 private:
  QString previous_;
  QTemporaryDir dir_;
};

inline std::string readWhole(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream text;
  text << in.rdbuf();
  return text.str();
}

inline bool exists(const std::string& path) { return std::ifstream(path).good(); }

// A register of the simulated sensor at 42, read over the bus as a test bench would.
inline int readRegister(MainWindowHarness& h, int reg) {
  std::int16_t device = 0x42;
  testing::DesignTransactions transactions = testing::design(h.core);
  transactions.setRegisterPointer(device, static_cast<std::int16_t>(reg));
  transactions.readSequential(device, 0);
  return transactions.ReadBuffer.at(0);
}

inline void click(MainWindowHarness& h, const char* button) {
  QTest::mouseClick(h.find<QPushButton>(button), Qt::LeftButton);
}

inline void openFile(MainWindowHarness& h, const std::string& path) {
  h.windows.dialogAnswers.push_back(path);
  h.find<QAction>("mnuFileOpen")->trigger();
}

inline void dump(MainWindowHarness& h, const char* count, const std::string& file) {
  h.field("txtCnt")->setText(count);
  h.field("txtDmpFile")->setText(QString::fromStdString(file));
  click(h, "cmdDumpToFile");
}

inline bool activate(MainWindowHarness& h) {
  h.window.activateWindow();
  return QTest::qWaitForWindowActive(&h.window);
}

inline std::size_t starts(const MainWindowHarness& h) {
  return h.linesStartingWith("Wisp MSG001:  Generating START on bus ").size();
}

}  // namespace brelvion::testing
