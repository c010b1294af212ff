#include <QAction>
#include <QActionGroup>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTemporaryDir>
#include <QtTest>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <memory>

#include "bus/RegisterAccess.h"
#include "DebuggerControls.h"
#include "core/ToolCore.h"
#include "gui/debugger/DebuggerWindow.h"
#include "gui/debugger/DebuggerWindowHolder.h"
#include "simulator/SimulatedParallelPort.h"
#include "scripts/ScriptReader.h"
#include "support/DesignTransactions.h"
#include "support/FakeClock.h"
#include "support/FakeWindowSystem.h"
#include "support/ScratchDirectory.h"

namespace brelvion::testing {
namespace {

using gui::debugger::DebuggerWindow;

// The debugger window over the simulated sensor at 42, the bus open with the trace on and
// the record on a clock of the test's.
struct Rig {
  explicit Rig(const simulator::SimulatedBusConfig& config = {}) : port(config) {
    holder.attach(core);
    core.log().debuggerState().traceBufferSize = 10;
    core.engine().setBusDelay(0.001);
    core.engine().openBus(0, 1);
    core.engine().initPort(10);
    core.engine().record().restart(clock);
  }
  void writeRegister(std::int16_t reg, std::int16_t value) {
    std::int16_t address = 0x42;
    testing::design(core).writeRegister(address, reg, value);
  }
  simulator::SimulatedParallelPort port;
  FakeClock clock;
  FakeWindowSystem windows;
  gui::debugger::DebuggerWindowHolder holder{windows};
  core::ToolCore core{port, windows, holder};
};

void waitForRefresh() { QTest::qWait(DebuggerWindow::kTraceRefreshMs + 10); }

// The writes a record holds that wrote a value (more than a register pointer): address and
// bytes.
std::vector<std::pair<int, std::vector<std::uint8_t>>> valueWrites(
    const std::deque<bus::Transaction>& entries) {
  std::vector<std::pair<int, std::vector<std::uint8_t>>> writes;
  for (const bus::Transaction& entry : entries) {
    if (!entry.read && entry.bytes.size() > 1) writes.emplace_back(entry.address, entry.bytes);
  }
  return writes;
}

// Sends a script's writes through an engine as the bytes its widths make.
void sendWrites(bus::BusEngine& engine, const scripts::Script& script) {
  for (const scripts::Step& step : scripts::stepsOf(script)) {
    if (step.op != scripts::Op::Write) continue;
    std::vector<std::uint8_t> bytes;
    for (int shift = 8 * step.target.format.addressBytes - 8; shift >= 0; shift -= 8) {
      bytes.push_back(static_cast<std::uint8_t>(step.reg >> shift));
    }
    for (int shift = 8 * step.target.format.valueBytes - 8; shift >= 0; shift -= 8) {
      bytes.push_back(static_cast<std::uint8_t>(step.value >> shift));
    }
    engine.transfer({{step.target.device, false, bytes}});
  }
}

}  // namespace

class DebuggerTransactionsTest : public QObject, DebuggerControls<Rig> {
  Q_OBJECT

 private:
  QPlainTextEdit* transactionsBox() { return control<QPlainTextEdit>("wisptransactions"); }
  QPlainTextEdit* traceBox() { return control<QPlainTextEdit>("I2Cmonitor"); }
  QString transactionsText() { return transactionsBox()->toPlainText(); }

 private slots:
  void init() { rig = std::make_unique<Rig>(); }
  void cleanup() {
    rig.reset();
    QCoreApplication::processEvents();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
  }

  void theTraceStaysTheViewUntilTransactionsAreChosen() {
    QVERIFY(!traceBox()->isHidden() && transactionsBox()->isHidden());
    QCOMPARE(transactionsBox()->geometry(), traceBox()->geometry());
    QVERIFY(item("wispviewtrace")->isChecked() && !item("wispviewtransactions")->isChecked());
    QVERIFY(item("wispviewreg8")->isChecked() && !item("wispviewreg16")->isChecked());
    QVERIFY(!item("wispview7bit")->isChecked() && !item("wispfileexpect")->isChecked());
    const std::pair<const char*, const char*> captions[] = {
        {"wispviewtrace", "&Trace"},
        {"wispviewtransactions", "T&ransactions"},
        {"wispview7bit", "&7-bit Addresses"},
        {"wispviewreg8", "&8-bit Registers"},
        {"wispviewreg16", "&16-bit Registers"},
        {"wispfilescript", "Save as Sc&ript..."},
        {"wispfileexpect", "Script with Reads as &expect"}};
    for (const auto& [name, caption] : captions) QCOMPARE(item(name)->text(), QString(caption));
  }

  void theViewFillsFromARunAndFollowsTheToggles() {
    rig->clock.time = std::chrono::milliseconds(2);
    rig->writeRegister(0x12, 0x80);
    std::int16_t address = 0x42;
    rig->clock.time = std::chrono::microseconds(3500);
    QVERIFY(testing::design(rig->core).readRegisters(address, 0x12, 1));
    item("wispviewtransactions")->trigger();
    QVERIFY(traceBox()->isHidden() && !transactionsBox()->isHidden());
    QVERIFY(!item("wispviewtrace")->isChecked() && item("wispviewtransactions")->isChecked());
    QCOMPARE(transactionsText(), QString("     2.000 ms  42 W  reg 12  80  ACK\n"
                                         "     3.500 ms  42 W  reg 12  ACK\n"
                                         "     3.500 ms  42 R  reg 12  80 E7  ACK"));

    item("wispview7bit")->trigger();
    QCOMPARE(transactionsText().left(36), QString("     2.000 ms  21 W  reg 12  80  ACK"));
    item("wispviewreg16")->trigger();
    QVERIFY(item("wispviewreg16")->isChecked() && !item("wispviewreg8")->isChecked());
    QCOMPARE(transactionsText(), QString("     2.000 ms  21 W  reg 1280  ACK\n"
                                         "     3.500 ms  21 W  12  ACK\n"
                                         "     3.500 ms  21 R  80 E7  ACK"));
    item("wispview7bit")->trigger();
    item("wispviewreg8")->trigger();

    // A new transaction shows at the next refresh; the trace is still kept meanwhile.
    rig->writeRegister(0x13, 0x01);
    waitForRefresh();
    QVERIFY(transactionsText().endsWith("42 W  reg 13  01  ACK"));
    QVERIFY(window()->traceText().find("Generating STOP") != std::string::npos);

    // The about view covers it, and gives it back.
    item("wispfileabout")->trigger();
    QVERIFY(transactionsBox()->isHidden() && traceBox()->isHidden());
    control<QPushButton>("showwisp")->click();
    QVERIFY(!transactionsBox()->isHidden() && traceBox()->isHidden());

    item("wispviewtrace")->trigger();
    QVERIFY(!traceBox()->isHidden() && transactionsBox()->isHidden());
  }

  void traceAndTransactionsAreOneChoice() {
    QAction* trace = item("wispviewtrace");
    QAction* transactions = item("wispviewtransactions");
    QVERIFY(trace->actionGroup() != nullptr && trace->actionGroup()->isExclusive());
    QCOMPARE(transactions->actionGroup(), trace->actionGroup());
    // Choosing the chosen view again keeps it chosen.
    for (QAction* view : {trace, trace, transactions, transactions}) {
      view->trigger();
      QVERIFY(view->isChecked());
      QCOMPARE(trace->isChecked(), !transactions->isChecked());
      QCOMPARE(traceBox()->isHidden(), view == transactions);
    }
  }

  void runModeStopRecordsNothingAndClearEmptiesTheView() {
    item("wispviewtransactions")->trigger();
    item("wisprunstop")->trigger();
    rig->writeRegister(0x12, 0x80);
    waitForRefresh();
    QCOMPARE(transactionsText(), QString());
    item("wisprunstandard")->trigger();
    rig->writeRegister(0x12, 0x81);
    waitForRefresh();
    QCOMPARE(transactionsText(), QString("     0.000 ms  42 W  reg 12  81  ACK"));
    item("wispclear")->trigger();
    waitForRefresh();
    QCOMPARE(transactionsText(), QString());
    QVERIFY(rig->core.engine().record().entries().empty());
  }

  void saveAsScriptReproducesTheWritesOnTheWire() {
    rig->writeRegister(0x12, 0x80);
    std::int16_t address = 0x42;
    QVERIFY(testing::design(rig->core).readRegisters(address, 0x12, 0));
    QVERIFY(rig->core.engine().transfer({{0x42, false, {0x20, 0x01, 0x02}}}).acknowledged());
    rig->writeRegister(0x13, 0x5A);

    QTemporaryDir dir;
    const std::string chosen = dir.filePath("bring-up").toStdString();
    rig->windows.dialogAnswers.push_back(chosen);
    item("wispfilescript")->trigger();
    QCOMPARE(rig->windows.boxes.size(), std::size_t{0});
    QCOMPARE(rig->windows.dialogs.back().title, std::string("Save Transactions as Script:"));
    QCOMPARE(rig->windows.dialogs.back().filter, std::string("Bring-up scripts (*.i2cs)|*.i2cs"));
    const std::string text = readWhole(chosen + ".i2cs");
    QCOMPARE(text, std::string("; saved from the Wisp debugger's transactions\n"
                               "device 42\n"
                               "write 12 80\n"
                               "valbits 16\n"
                               "write 20 0102\n"
                               "valbits 8\n"
                               "write 13 5A\n"));

    // Read back and sent on another bus, the script puts the same writes on the wire.
    const scripts::ReadResult read = scripts::readScript(text, "bring-up.i2cs");
    QVERIFY(read.ok());
    Rig replay;
    sendWrites(replay.core.engine(), read.script);
    QCOMPARE(valueWrites(replay.core.engine().record().entries()),
             valueWrites(rig->core.engine().record().entries()));

    // The reads as expect lines when asked.
    item("wispfileexpect")->trigger();
    QVERIFY(item("wispfileexpect")->isChecked());
    rig->windows.dialogAnswers.push_back(chosen + ".i2cs");
    item("wispfilescript")->trigger();
    QVERIFY(readWhole(chosen + ".i2cs").find("write 12 80\nexpect 12 80\n") != std::string::npos);
  }

  // The 8-bit sensor at 42 written as a command file does, the 16-bit one at 20 as a
  // script does: the view and the script read each in its own format, whichever the view's.
  void aBusWithTwoKindsOfSensorShowsAndSavesEachInItsOwnFormat() {
    simulator::SimulatedBusConfig config;
    config.sensor16Addresses = {0x20};
    rig = std::make_unique<Rig>(config);
    {
      const bus::NotedCommand noted(rig->core.engine().record(), bus::kByteRegisterCommand);
      rig->writeRegister(0x12, 0x80);
    }
    const i2c::RegisterFormat wide{2, 1};
    bus::writeRegister(rig->core.engine(), 0x20, wide, 0x0204, 0x02);
    QVERIFY(bus::readRegisters(rig->core.engine(), 0x20, wide, 0x0204, 1).acknowledged());
    item("wispviewtransactions")->trigger();
    item("wispviewreg16")->trigger();
    QCOMPARE(transactionsText(), QString("     0.000 ms  42 W  reg 12  80  ACK\n"
                                         "     0.000 ms  20 W  reg 0204  02  ACK\n"
                                         "     0.000 ms  20 W  reg 0204  ACK\n"
                                         "     0.000 ms  20 R  reg 0204  02  ACK"));

    QTemporaryDir dir;
    const std::string chosen = dir.filePath("two.i2cs").toStdString();
    rig->windows.dialogAnswers.push_back(chosen);
    item("wispfileexpect")->trigger();
    item("wispfilescript")->trigger();
    QCOMPARE(readWhole(chosen), std::string("; saved from the Wisp debugger's transactions\n"
                                            "device 42\n"
                                            "write 12 80\n"
                                            "device 20\n"
                                            "regbits 16\n"
                                            "write 0204 02\n"
                                            "expect 0204 02\n"));
  }

  // Saved after more writes than the trace keeps lines, the script holds them all; beyond
  // the record's own bound it says what was dropped, in the script and in a box.
  void saveAsScriptKeepsWhatTheRecordHoldsAndSaysWhatItDropped() {
    rig->core.log().debuggerState().traceBufferSize = 1;
    for (std::int16_t value = 1; value <= 4; ++value) rig->writeRegister(0x12, value);
    QTemporaryDir dir;
    const std::string chosen = dir.filePath("four.i2cs").toStdString();
    rig->windows.dialogAnswers.push_back(chosen);
    item("wispfilescript")->trigger();
    QCOMPARE(rig->windows.boxes.size(), std::size_t{0});
    QVERIFY(readWhole(chosen).find("write 12 01\nwrite 12 02\nwrite 12 03\nwrite 12 04\n") !=
            std::string::npos);

    rig->core.engine().record().setBound(2);
    rig->windows.dialogAnswers.push_back(chosen);
    item("wispfilescript")->trigger();
    const std::string dropped =
        "The record kept the newest 2 transactions: 2 older ones were dropped and are not in "
        "the script.";
    QCOMPARE(readWhole(chosen), "; saved from the Wisp debugger's transactions\n; " + dropped +
                                    "\ndevice 42\nwrite 12 03\nwrite 12 04\n");
    QCOMPARE(rig->windows.boxes.size(), std::size_t{1});
    QCOMPARE(rig->windows.boxes[0].text, dropped);
    QVERIFY(rig->windows.boxes[0].icon == desktop::MessageIcon::Information);
  }

  // Nothing to save is said before a file is asked for, and no file is written.
  void anEmptyRecordOrOneWithoutCommandsHasNothingToSave() {
    const std::pair<bool, const char*> cases[] = {
        {false, "There are no transactions to save."},
        {true, "There is nothing to save: none of the transactions makes a script command."}};
    for (const auto& [probe, text] : cases) {
      if (probe) rig->core.engine().probe({{0x60, false, {}}});
      const std::size_t boxes = rig->windows.boxes.size();
      item("wispfilescript")->trigger();
      QVERIFY(rig->windows.dialogs.empty());
      QCOMPARE(rig->windows.boxes.size(), boxes + 1);
      QCOMPARE(rig->windows.boxes.back().text, std::string(text));
      QCOMPARE(rig->windows.boxes.back().title, std::string("Wisp Debugger"));
    }
  }

  void aScriptThatCannotBeWrittenIsABoxAndACancelWritesNothing() {
    rig->writeRegister(0x12, 0x80);
    const std::string before = rig->holder.text();
    item("wispfilescript")->trigger();
    QCOMPARE(rig->windows.boxes.size(), std::size_t{0});
    QCOMPARE(rig->holder.text(), before);

    QTemporaryDir dir;
    const std::string nowhere = dir.filePath("missing/bring-up.i2cs").toStdString();
    rig->windows.dialogAnswers.push_back(nowhere);
    item("wispfilescript")->trigger();
    QCOMPARE(rig->windows.boxes.size(), std::size_t{1});
    QCOMPARE(rig->windows.boxes[0].text,
             "76: Cannot write " + nowhere + ": No such file or directory");
    QCOMPARE(rig->windows.boxes[0].title, std::string("Wisp Debugger - Error"));
    QVERIFY(rig->windows.boxes[0].icon == desktop::MessageIcon::Critical);
    QVERIFY(!std::filesystem::exists(nowhere));
  }
};

}  // namespace brelvion::testing

QTEST_MAIN(brelvion::testing::DebuggerTransactionsTest)
#include "DebuggerTransactionsTest.moc"
