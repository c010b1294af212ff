#include <QtTest>

#include "DebuggerWindowFixture.h"

namespace brelvion::testing {

// The trace: its buffer, files, character sets and how the box redraws and follows the end.
class DebuggerTraceTest : public QObject, DebuggerWindowFixture {
  Q_OBJECT

 private slots:
  void init() { setUpRig(); }
  void cleanup() { tearDownRig(); }

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
    QCOMPARE(rig->core.log().debuggerState().traceBufferSize, 10.0);  // not while it moves
    control<QPushButton>("wisptracecancel")->click();
    QCOMPARE(rig->core.log().debuggerState().traceBufferSize, 10.0);

    item("wispoptionbuffer")->trigger();
    QCOMPARE(size->text(), QString("10"));
    slider->setValue(1);
    slider->triggerAction(QAbstractSlider::SliderSingleStepSub);
    QCOMPARE(slider->value(), 1);
    slider->setValue(250);
    slider->triggerAction(QAbstractSlider::SliderPageStepAdd);
    QCOMPARE(size->text(), QString("250"));
    control<QPushButton>("wisptraceok")->click();
    QCOMPARE(rig->core.log().debuggerState().traceBufferSize, 250.0);

    rig->core.log().debuggerState().traceBufferSize = 12.5;
    item("wispoptionbuffer")->trigger();
    QCOMPARE(size->text(), QString("12.5"));
    control<QPushButton>("wisptraceok")->click();
    QCOMPARE(rig->core.log().debuggerState().traceBufferSize, 12.5);
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


  void closingWhileSaveLetsEventsRunFinishesTheSave() {
    QTemporaryDir dir;
    const QString path = dir.filePath("t.WSP");
    rig->core.log().debuggerState().traceBufferSize = 0;  // every message drops a line and yields
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
    rig->core.log().debuggerState().traceBufferSize = 250;
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
    rig->core.log().debuggerState().traceBufferSize = 1000;
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

};

}  // namespace brelvion::testing

QTEST_MAIN(brelvion::testing::DebuggerTraceTest)
#include "DebuggerTraceTest.moc"
