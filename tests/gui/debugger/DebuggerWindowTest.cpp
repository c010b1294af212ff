#include <QAction>
#include <QFontInfo>
#include <QLabel>
#include <QMenu>
#include <QPlainTextEdit>
#include <QPointer>
#include <QPushButton>
#include <QScrollBar>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QtTest>
#include <cmath>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <memory>

#include "core/ToolCore.h"
#include "gui/debugger/DebuggerWindow.h"
#include "gui/debugger/DebuggerWindowHolder.h"
#include "gui/qt/Twips.h"
#include "support/FakeWindowSystem.h"
#include "support/RecordingPort.h"

namespace brelvion::testing {
namespace {

using gui::debugger::DebuggerWindow;
using trace::padTraceLine;

// One program's worth of objects with the real debugger window as the trace.
struct Rig {
  Rig() {
    holder.attach(core);
    core.busState().DebugEnabled = 1;
    core.debuggerState().TraceBufferSize = 10;
  }
  RecordingPort port;
  FakeWindowSystem windows;
  gui::debugger::DebuggerWindowHolder holder{windows};
  core::ToolCore core{port, windows, holder};
};

std::string fileContent(const QString& path) {
  std::ifstream in(path.toStdString(), std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

// Lets events run until the trace box has taken the latest text: at once after a quiet
// spell, at most the refresh interval after a redraw.
void waitForTraceRefresh() { QTest::qWait(DebuggerWindow::kTraceRefreshMs + 10); }

void flushPostedEvents() {
  QCoreApplication::processEvents();
  QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}

}  // namespace

class DebuggerWindowTest : public QObject {
  Q_OBJECT

 private:
  std::unique_ptr<Rig> rig;

  DebuggerWindow* window() {
    rig->holder.createHidden();
    return rig->holder.window();
  }
  template <typename T>
  T* control(const char* name) {
    T* found = window()->findChild<T*>(QString::fromLatin1(name));
    if (found == nullptr) qFatal("no control %s", name);
    return found;
  }
  QAction* item(const char* name) { return control<QAction>(name); }
  void log(const std::string& message) { rig->core.log().LogMessage(message); }
  bool traceView() { return !control<QPlainTextEdit>("I2Cmonitor")->isHidden(); }
  bool aboutView() {
    return !control<QLabel>("wispabout")->isHidden() && !control<QLabel>("WISPlogo")->isHidden() &&
           !control<QPushButton>("showwisp")->isHidden();
  }
  bool dialogShown() {
    for (const char* name : {"wisptracetext", "wisptracesizebox", "wisptracetext2"}) {
      if (control<QLabel>(name)->isHidden()) return false;
    }
    return !control<QScrollBar>("wisptraceslider")->isHidden() &&
           !control<QPushButton>("wisptraceok")->isHidden() &&
           !control<QPushButton>("wisptracecancel")->isHidden();
  }

 private slots:
  void init() { rig = std::make_unique<Rig>(); }
  void cleanup() {
    rig.reset();
    flushPostedEvents();
  }

  void firstMessageCreatesTheWindowHiddenWithItsDesignState() {
    QVERIFY(!rig->holder.exists());
    log("Wisp MSG001:  Generating START on bus ");
    QVERIFY(rig->holder.exists());
    DebuggerWindow* w = rig->holder.window();
    QVERIFY(!w->isVisible());
    QCOMPARE(rig->holder.text(), "\r\n" + padTraceLine("Wisp MSG001:  Generating START on bus "));
    QCOMPARE(w->windowTitle(), QString("Wisp Debugger"));
    QVERIFY(traceView() && control<QLabel>("wispabout")->isHidden() && !dialogShown());
    QVERIFY(item("wisprunstandard")->isChecked());
    QVERIFY(!item("wisprunstop")->isChecked() && !item("wisprunextended")->isChecked());
    QVERIFY(item("wispoptionstop")->isCheckable() && !item("wispoptionstop")->isChecked());
    QCOMPARE(item("wispfilesave")->text(), QString("&Save"));
    QCOMPARE(control<QMenu>("wisprunmode")->title(), QString("&RunMode"));
    QCOMPARE(control<QLabel>("wisptracetext")->text(), QString("Tracebuffer Size :"));
    QCOMPARE(control<QLabel>("WISPlogo")->text(), QString("Wisp95"));
    QCOMPARE(control<QLabel>("wispabout")->text(),
             QString("Wisp V1.01 - Brelvion I2C bus debugger\n"
                     "The bus debugger of the Brelvion I2C Debug Tool.\n"
                     "It traces every step on the bus: START, each byte sent or received, each "
                     "acknowledge, STOP and every timeout.\n"
                     "RunMode Stop silences the trace; Standard and Extended record it.\n"
                     "Options: Tracebuffer bounds the trace, Stop on Error halts at each missing "
                     "acknowledge.\n"
                     "File: Save and Load keep a trace as a *.WSP or *.TXT text file.\n"));
    // Centred on the fake's 1024 x 768 screen.
    QCOMPARE(w->pos(), QPoint(int(std::lround(512 - w->width() / 2.0)),
                              int(std::lround(384 - w->height() / 2.0))));
  }

  void everyMenuItemAndButtonKeepsItsCaption() {
    const std::pair<const char*, const char*> items[] = {{"wisphide", "&Hide"},
                                                         {"wispfileload", "&Load"},
                                                         {"wispfileabout", "&About"},
                                                         {"wispclear", "&Clear"},
                                                         {"wisprunstop", "Stop"},
                                                         {"wisprunstandard", "Standard"},
                                                         {"wisprunextended", "Extended"},
                                                         {"wispoptionbuffer", "Tracebuffer"},
                                                         {"wispoptionstop", "Stop on Error"},
                                                         {"Help", "Help"}};
    for (const auto& [name, caption] : items) QCOMPARE(item(name)->text(), QString(caption));
    QCOMPARE(control<QMenu>("wispfile")->title(), QString("&File"));
    QCOMPARE(control<QMenu>("wispoptions")->title(), QString("Options"));
    const std::pair<const char*, const char*> buttons[] = {
        {"showwisp", "Hide"}, {"wisptraceok", "Ok"}, {"wisptracecancel", "Cancel"}};
    for (const auto& [name, caption] : buttons) {
      QCOMPARE(control<QPushButton>(name)->text(), QString(caption));
    }
    QCOMPARE(control<QLabel>("wisptracesizebox")->text(), QString("10"));
    QCOMPARE(control<QLabel>("wisptracetext2")->text(), QString("Lines"));
  }

  void clientAreaAndFontsFollowTheDesign() {
    DebuggerWindow* w = window();
    if (gui::qt::logicalDpiOf(w) != 96.0) QSKIP("the design sizes are checked at 96 DPI");
    w->show();
    QCOMPARE(w->centralWidget()->size(), QSize(489, 225));
    QCOMPARE(control<QPlainTextEdit>("I2Cmonitor")->geometry(), QRect(0, 0, 489, 225));
    QCOMPARE(control<QPushButton>("showwisp")->geometry(), QRect(424, 200, 57, 25));
    QCOMPARE(control<QScrollBar>("wisptraceslider")->geometry(), QRect(72, 104, 345, 17));
    const QFontInfo font(w->font());
    QCOMPARE(font.family(), QString("Liberation Sans"));
    QCOMPARE(font.pointSizeF(), 8.25);
    QVERIFY(font.bold());
    QCOMPARE(QFontInfo(control<QLabel>("WISPlogo")->font()).pointSizeF(), 24.0);
    // Every caption fits its control in the design's font.
    for (const char* name : {"wisptracetext", "wisptracesizebox", "wisptracetext2", "WISPlogo"}) {
      QLabel* caption = control<QLabel>(name);
      QVERIFY2(caption->sizeHint().width() <= caption->width(), name);
    }
  }

  void theListsGrowWithTheWindow() {
    DebuggerWindow* w = window();
    w->show();
    const QSize design = w->centralWidget()->size();
    w->resize(w->size() + QSize(200, 100));
    QTRY_COMPARE(w->centralWidget()->size(), design + QSize(200, 100));
    const QRect whole = w->centralWidget()->rect();
    QCOMPARE(control<QPlainTextEdit>("I2Cmonitor")->geometry(), whole);
    QCOMPARE(control<QPlainTextEdit>("wisptransactions")->geometry(), whole);
  }

  void theFileMenuIsReachedByItsLetters() {
    DebuggerWindow* w = window();
    w->show();
    w->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(w));
    auto* file = control<QMenu>("wispfile");
    QString letters;
    for (QAction* action : file->actions()) {
      if (action->isSeparator()) continue;
      const qsizetype amp = action->text().indexOf('&');
      QVERIFY2(amp >= 0, qPrintable(action->text()));
      const QChar letter = action->text()[amp + 1].toLower();
      QVERIFY2(!letters.contains(letter), qPrintable(action->text()));
      letters += letter;
    }
    // Alt+F, S: Save at once.
    QTest::keyClick(w, Qt::Key_F, Qt::AltModifier);
    QTRY_VERIFY(file->isVisible());
    QTest::keyClick(file, Qt::Key_S);
    QTRY_COMPARE(rig->windows.dialogs.size(), std::size_t{1});
    QCOMPARE(rig->windows.dialogs[0].title, std::string("Save Wisp Debugwindow to:"));
  }

  void enterPressesTheFocusedButton() {
    window()->show();
    item("wispoptionbuffer")->trigger();
    auto* slider = control<QScrollBar>("wisptraceslider");
    slider->setValue(40);
    auto* ok = control<QPushButton>("wisptraceok");
    ok->setFocus();
    QTest::keyClick(ok, Qt::Key_Return);
    QVERIFY(traceView() && !dialogShown());
    QCOMPARE(rig->core.debuggerState().TraceBufferSize, 40.0);
  }

  void aboutAndDialogViewsSwapWithTheTraceBox() {
    item("wispfileabout")->trigger();
    QVERIFY(!traceView() && aboutView() && !dialogShown());
    control<QPushButton>("showwisp")->click();
    QVERIFY(traceView() && !aboutView());
    item("wispoptionbuffer")->trigger();
    QVERIFY(!traceView() && dialogShown());
    control<QPushButton>("wisptracecancel")->click();
    QVERIFY(traceView() && !dialogShown());
  }

  void runModesSetCaptionMarksAndDebugEnabledWithoutATraceLine() {
    log("first");
    const std::string before = rig->holder.text();
    struct Mode {
      const char* name;
      const char* caption;
      int enabled;
    };
    for (const Mode& mode : {Mode{"wisprunstop", "Wisp Debugger :Stopped", 0},
                             Mode{"wisprunstandard", "Wisp Debugger :Standard run", 1},
                             Mode{"wisprunextended", "Wisp Debugger :Extended run", 1},
                             Mode{"wisprunextended", "Wisp Debugger :Extended run", 1}}) {
      item(mode.name)->trigger();
      QCOMPARE(window()->windowTitle(), QString(mode.caption));
      QCOMPARE(int(rig->core.busState().DebugEnabled), mode.enabled);
      for (const char* other : {"wisprunstop", "wisprunstandard", "wisprunextended"}) {
        QCOMPARE(item(other)->isChecked(), qstrcmp(other, mode.name) == 0);
      }
    }
    QCOMPARE(rig->holder.text(), before);
    item("wisprunstop")->trigger();
    log("not traced");
    QCOMPARE(rig->holder.text(), before);
  }

  void stopOnErrorTwiceReturnsToOff() {
    item("wispoptionstop")->trigger();
    QVERIFY(rig->core.debuggerState().StopOnError && item("wispoptionstop")->isChecked());
    item("wispoptionstop")->trigger();
    QVERIFY(!rig->core.debuggerState().StopOnError && !item("wispoptionstop")->isChecked());
  }

  void traceBufferDialogOkTakesTheLabelAndCancelKeepsTheSize() {
    auto* slider = control<QScrollBar>("wisptraceslider");
    auto* size = control<QLabel>("wisptracesizebox");
    item("wispoptionbuffer")->trigger();
    QCOMPARE(slider->minimum(), 1);
    QCOMPARE(slider->maximum(), 250);
    QCOMPARE(slider->value(), 10);
    slider->triggerAction(QAbstractSlider::SliderSingleStepAdd);
    QCOMPARE(size->text(), QString("11"));
    slider->triggerAction(QAbstractSlider::SliderPageStepAdd);
    QCOMPARE(size->text(), QString("21"));
    QCOMPARE(rig->core.debuggerState().TraceBufferSize, 10.0);  // not while it moves
    control<QPushButton>("wisptracecancel")->click();
    QCOMPARE(rig->core.debuggerState().TraceBufferSize, 10.0);

    item("wispoptionbuffer")->trigger();
    QCOMPARE(size->text(), QString("10"));
    slider->setValue(1);
    slider->triggerAction(QAbstractSlider::SliderSingleStepSub);
    QCOMPARE(slider->value(), 1);
    slider->setValue(250);
    slider->triggerAction(QAbstractSlider::SliderPageStepAdd);
    QCOMPARE(size->text(), QString("250"));
    control<QPushButton>("wisptraceok")->click();
    QCOMPARE(rig->core.debuggerState().TraceBufferSize, 250.0);

    rig->core.debuggerState().TraceBufferSize = 12.5;
    item("wispoptionbuffer")->trigger();
    QCOMPARE(size->text(), QString("12.5"));
    control<QPushButton>("wisptraceok")->click();
    QCOMPARE(rig->core.debuggerState().TraceBufferSize, 12.5);
  }

  void clearThenAMessageStartsTheTraceAfresh() {
    log("one");
    item("wispclear")->trigger();
    QCOMPARE(rig->holder.text(), std::string());
    log("two");
    QCOMPARE(rig->holder.text(), "\r\n" + padTraceLine("two"));
  }

  void saveThenLoadRoundTripsThroughARealFile() {
    QTemporaryDir dir;
    const QString path = dir.filePath("trace.WSP");
    log("Wisp MSG001:  Generating START on bus ");
    rig->windows.dialogAnswers.push_back(path.toStdString());
    item("wispfilesave")->trigger();
    QCOMPARE(rig->windows.dialogs.at(0).title, std::string("Save Wisp Debugwindow to:"));
    QCOMPARE(rig->windows.dialogs.at(0).filter,
             std::string("Wisp files (*.WSP)|*.WSP|Text (*.TXT)|*.TXT"));
    QVERIFY(rig->windows.dialogs.at(0).mode == desktop::FileDialogMode::Save);
    const std::string saved = rig->holder.text();
    QVERIFY(saved.ends_with("\r\n" + padTraceLine("Debug window saved to :" + path.toStdString())));
    QCOMPARE(fileContent(path), saved + "\r\n");

    // Loading neither needs the debugger nor passes through the log.
    item("wisprunstop")->trigger();
    item("wispclear")->trigger();
    rig->windows.dialogAnswers.push_back(path.toStdString());
    item("wispfileload")->trigger();
    QCOMPARE(rig->windows.dialogs.at(1).title, std::string("Open previous Wisp Debugwindow:"));
    QVERIFY(rig->windows.dialogs.at(1).mode == desktop::FileDialogMode::Open);
    QCOMPARE(rig->holder.text(), "\r\n" + saved);
    QVERIFY(rig->windows.boxes.empty());
  }

  void eightBitCharactersShowAsTheyAreAndPathsJoinTheTraceAsThem() {
    QTemporaryDir dir;
    const QString path = dir.filePath(QString::fromUtf8("caf\u00e9.TXT"));
    std::ofstream(path.toStdString(), std::ios::binary) << "Gr\xfc\xdf"
                                                           "e\r\n";
    rig->windows.dialogAnswers.push_back(path.toStdString());
    item("wispfileload")->trigger();
    QCOMPARE(rig->holder.text(), std::string("\r\nGr\xfc\xdf"
                                             "e"));
    QCoreApplication::processEvents();
    QCOMPARE(control<QPlainTextEdit>("I2Cmonitor")->toPlainText(),
             QString::fromUtf8("\nGr\u00fc\u00dfe"));

    rig->windows.dialogAnswers.push_back(path.toStdString());
    item("wispfilesave")->trigger();
    const std::string latin1Path = path.toLatin1().toStdString();
    QVERIFY(rig->holder.text().ends_with("Debug window saved to :" + latin1Path));
  }

  void cancelledDialogsLeaveOnlyTheCancelLine() {
    log("kept");
    const std::string before = rig->holder.text();
    item("wispfilesave")->trigger();
    item("wispfileload")->trigger();
    const std::string cancel = "\r\n" + padTraceLine("Fileoperation canceled");
    QCOMPARE(rig->holder.text(), before + cancel + cancel);
    item("wisprunstop")->trigger();
    item("wispfileload")->trigger();
    QCOMPARE(rig->holder.text(), before + cancel + cancel);
  }

  void fileFailuresShowABoxNamingFileAndCause() {
    QTemporaryDir dir;
    const std::string nowhere = dir.filePath("missing/trace.WSP").toStdString();
    rig->windows.dialogAnswers.push_back(nowhere);
    item("wispfilesave")->trigger();
    QCOMPARE(rig->windows.boxes.size(), std::size_t{1});
    QCOMPARE(rig->windows.boxes[0].text,
             "76: Cannot write " + nowhere + ": No such file or directory");
    QCOMPARE(rig->windows.boxes[0].title, std::string("Wisp Debugger - Error"));
    QVERIFY(rig->windows.boxes[0].icon == desktop::MessageIcon::Critical);

    const std::string before = rig->holder.text();
    rig->windows.dialogAnswers.push_back(nowhere);
    item("wispfileload")->trigger();
    QCOMPARE(rig->windows.boxes.size(), std::size_t{2});
    QCOMPARE(rig->windows.boxes[1].text,
             "53: Cannot read " + nowhere + ": No such file or directory");
    QCOMPARE(rig->windows.boxes[1].title, std::string("Wisp Debugger - Error"));
    QCOMPARE(rig->holder.text(), before);  // an unreadable file costs the trace nothing
  }

  void hideAndShowKeepTraceAndView() {
    rig->holder.showWindow();
    QVERIFY(window()->isVisible());
    log("before");
    item("wispfileabout")->trigger();
    item("wisphide")->trigger();
    QVERIFY(!window()->isVisible() && rig->holder.exists());
    log("while hidden");
    rig->holder.showWindow();
    QVERIFY(window()->isVisible() && aboutView());
    QCOMPARE(rig->holder.text(),
             "\r\n" + padTraceLine("before") + "\r\n" + padTraceLine("while hidden"));
  }

  void closingLosesTheWindowButNotTheSharedOptions() {
    rig->holder.showWindow();
    log("lost");
    item("wispoptionstop")->trigger();
    item("wisprunextended")->trigger();
    item("wispoptionbuffer")->trigger();
    control<QScrollBar>("wisptraceslider")->setValue(37);
    control<QPushButton>("wisptraceok")->click();
    QPointer<DebuggerWindow> closed = rig->holder.window();
    closed->close();
    QVERIFY(!rig->holder.exists());
    QCOMPARE(rig->holder.text(), std::string());
    flushPostedEvents();
    QVERIFY(closed.isNull());

    log("new");
    QVERIFY(rig->holder.exists() && !window()->isVisible());
    QCOMPARE(rig->holder.text(), "\r\n" + padTraceLine("new"));
    QCOMPARE(window()->windowTitle(), QString("Wisp Debugger"));
    QVERIFY(item("wisprunstandard")->isChecked() && !item("wispoptionstop")->isChecked());
    QVERIFY(rig->core.debuggerState().StopOnError);
    QCOMPARE(rig->core.debuggerState().TraceBufferSize, 37.0);
    QCOMPARE(int(rig->core.busState().DebugEnabled), 1);
  }

  void closingWhileSaveLetsEventsRunFinishesTheSave() {
    QTemporaryDir dir;
    const QString path = dir.filePath("t.WSP");
    rig->core.debuggerState().TraceBufferSize = 0;  // every message drops a line and yields
    log("old");
    QPointer<DebuggerWindow> first = window();
    bool stillThere = true;
    rig->windows.onYield = [&] {
      if (first) first->close();
      // Whatever the event loop deletes now, the window whose handler runs stays.
      QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
      stillThere = stillThere && !first.isNull();
    };
    rig->windows.dialogAnswers.push_back(path.toStdString());
    item("wispfilesave")->trigger();
    rig->windows.onYield = nullptr;
    QVERIFY(stillThere);
    QVERIFY(!rig->holder.exists());
    // A bound of 0 keeps only the newest line.
    QCOMPARE(fileContent(path),
             padTraceLine("Debug window saved to :" + path.toStdString()) + "\r\n");
    QVERIFY(rig->windows.boxes.empty());
    flushPostedEvents();
    QVERIFY(first.isNull());
  }

  void manyTextChangesRepaintOnceWithTheFinalText() {
    auto* box = control<QPlainTextEdit>("I2Cmonitor");
    QSignalSpy repaints(box, &QPlainTextEdit::textChanged);
    rig->holder.replaceText("\r\nwarm up");
    waitForTraceRefresh();
    const int onePass = int(repaints.count());
    QVERIFY(onePass >= 1);
    repaints.clear();
    std::string last;
    for (int i = 0; i < 500; ++i) {
      last = "\r\nline " + std::to_string(i);
      rig->holder.replaceText(last);
      QCOMPARE(rig->holder.text(), last);
    }
    QCOMPARE(repaints.count(), 0);
    waitForTraceRefresh();
    QCOMPARE(int(repaints.count()), onePass);
    QCOMPARE(box->toPlainText(), QString("\nline 499"));
  }

  void aBurstOfLinesIntoAFullTraceRedrawsAtIntervalsAndEndsOnTheNewest() {
    rig->holder.showWindow();
    rig->core.debuggerState().TraceBufferSize = 250;
    // The log lets events run after each line it adds to a full trace, as the program's
    // window system does.
    rig->windows.onYield = [] { QCoreApplication::processEvents(); };
    auto* box = control<QPlainTextEdit>("I2Cmonitor");
    waitForTraceRefresh();
    QSignalSpy repaints(box, &QPlainTextEdit::textChanged);
    constexpr int kLines = 3000;
    QElapsedTimer burst;
    burst.start();
    for (int i = 0; i < kLines; ++i) log("burst line " + std::to_string(i));
    const qint64 burstMs = burst.elapsed();
    QVERIFY(rig->windows.yields > kLines / 2);
    // One redraw per interval the burst lasted, and the first one at once.
    QVERIFY2(repaints.count() <= burstMs / DebuggerWindow::kTraceRefreshMs + 2,
             qPrintable(QString("%1 redraws in %2 ms").arg(repaints.count()).arg(burstMs)));
    QTRY_VERIFY_WITH_TIMEOUT(
        box->toPlainText().endsWith(QString::fromStdString(padTraceLine("burst line 2999"))),
        DebuggerWindow::kTraceRefreshMs * 5);
  }

  void traceBoxFollowsTheEndUnlessTheUserScrolledBack() {
    rig->holder.showWindow();
    rig->core.debuggerState().TraceBufferSize = 1000;
    for (int i = 0; i < 100; ++i) log("line " + std::to_string(i));
    waitForTraceRefresh();
    QScrollBar* bar = control<QPlainTextEdit>("I2Cmonitor")->verticalScrollBar();
    QVERIFY(bar->maximum() > 0);
    QCOMPARE(bar->value(), bar->maximum());
    bar->setValue(5);
    log("more");
    waitForTraceRefresh();
    QCOMPARE(bar->value(), 5);
    bar->setValue(bar->maximum());
    const int oldMaximum = bar->maximum();
    log("and more");
    waitForTraceRefresh();
    QVERIFY(bar->maximum() > oldMaximum);
    QCOMPARE(bar->value(), bar->maximum());
  }

  void helpOpensTheHelpFileInTheTextEditor() {
    QTemporaryDir dir;
    const std::filesystem::path before = std::filesystem::current_path();
    std::filesystem::current_path(dir.path().toStdString());
    item("Help")->trigger();
    QCOMPARE(rig->windows.boxes.size(), std::size_t{1});
    QCOMPARE(rig->windows.boxes[0].text, std::string("53: File not found"));
    QCOMPARE(rig->windows.boxes[0].title, std::string());
    QVERIFY(rig->windows.boxes[0].icon == desktop::MessageIcon::Information);
    QVERIFY(rig->windows.editorFiles.empty());

    std::ofstream("winwisp.txt") << "help\n";
    item("Help")->trigger();
    QCOMPARE(rig->windows.editorFiles, std::vector<std::string>{"winwisp.txt"});
    rig->windows.startError = "Cannot start gedit: program not found";
    item("Help")->trigger();
    std::filesystem::current_path(before);
    QCOMPARE(rig->windows.boxes.size(), std::size_t{2});
    // Reported as the main window's help and New I2C File report an editor that does not start.
    QCOMPARE(rig->windows.boxes[1].text,
             std::string("Error Code 53: Cannot start gedit: program not found"));
    QVERIFY(rig->windows.boxes[1].icon == desktop::MessageIcon::Exclamation);
  }
};

}  // namespace brelvion::testing

QTEST_MAIN(brelvion::testing::DebuggerWindowTest)
#include "DebuggerWindowTest.moc"
