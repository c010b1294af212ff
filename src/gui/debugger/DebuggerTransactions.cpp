// The debugger window's transactions view: one line a transaction from the engine's
// record, its address and register forms, and saving it as a bring-up script.
#include <QAction>
#include <QActionGroup>
#include <QFontDatabase>
#include <QMenu>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QScrollBar>

#include "base/UserFile.h"
#include "core/ToolCore.h"
#include "desktop/WindowSystem.h"
#include "gui/debugger/DebuggerWindow.h"
#include "scripts/ScriptWriter.h"
#include "scripts/TransactionScript.h"
#include "trace/TransactionText.h"

namespace brelvion::gui::debugger {

namespace {

constexpr const char* kScriptFileFilter = "Bring-up scripts (*.i2cs)|*.i2cs";
constexpr const char* kSaveScriptTitle = "Save Transactions as Script:";
constexpr const char* kScriptNoteTitle = "Wisp Debugger";
constexpr const char* kNoTransactions = "There are no transactions to save.";
constexpr const char* kNoCommands =
    "There is nothing to save: none of the transactions makes a script command.";

}  // namespace

void DebuggerWindow::buildTransactionsBox(QWidget* client) {
  // Where the trace box is, in its place while chosen.
  transactionsBox_ = new QPlainTextEdit(client);
  transactionsBox_->setObjectName(QStringLiteral("wisptransactions"));
  transactionsBox_->setGeometry(traceBox_->geometry());
  // Fixed-width, so that the times and columns of the lines stand under each other.
  transactionsBox_->setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));
  transactionsBox_->setReadOnly(true);
  transactionsBox_->setTextInteractionFlags(Qt::TextSelectableByMouse |
                                            Qt::TextSelectableByKeyboard);
  transactionsBox_->setLineWrapMode(QPlainTextEdit::NoWrap);
  transactionsBox_->setUndoRedoEnabled(false);
  transactionsBox_->setHidden(true);
  transactionsTimer_.setSingleShot(true);
  transactionsTimer_.setTimerType(Qt::PreciseTimer);
  connect(&transactionsTimer_, &QTimer::timeout, this,
          [this] { handle("Wisp Debugger - Error", &DebuggerWindow::refreshTransactions); });
}

void DebuggerWindow::addScriptCommands(QMenu* file) {
  // Its own letter: S stays Save's, so that Alt+F, S saves the trace at once.
  addCommand(file, "wispfilescript", "Save as Sc&ript...", &DebuggerWindow::saveAsScript);
  QAction* expects = addCommand(file, "wispfileexpect", "Script with Reads as &expect",
                                &DebuggerWindow::toggleReadsAsExpect);
  expects->setCheckable(true);
}

void DebuggerWindow::buildViewMenu() {
  QMenu* view = menuBar()->addMenu(QStringLiteral("&View"));
  view->setObjectName(QStringLiteral("wispview"));
  viewTraceItem_ = addCommand(view, "wispviewtrace", "&Trace", &DebuggerWindow::showTrace);
  viewTransactionsItem_ =
      addCommand(view, "wispviewtransactions", "T&ransactions", &DebuggerWindow::showTransactions);
  view->addSeparator();
  QAction* sevenBit = addCommand(view, "wispview7bit", "&7-bit Addresses",
                                 &DebuggerWindow::toggleSevenBitAddresses);
  register8Item_ =
      addCommand(view, "wispviewreg8", "&8-bit Registers", &DebuggerWindow::registersOf8Bits);
  register16Item_ =
      addCommand(view, "wispviewreg16", "&16-bit Registers", &DebuggerWindow::registersOf16Bits);
  for (QAction* item :
       {viewTraceItem_, viewTransactionsItem_, sevenBit, register8Item_, register16Item_}) {
    item->setCheckable(true);
  }
  // The box shows one list or the other: one choice, so a second click keeps it chosen.
  auto* lists = new QActionGroup(view);
  lists->setExclusive(true);
  lists->addAction(viewTraceItem_);
  lists->addAction(viewTransactionsItem_);
  viewTraceItem_->setChecked(true);
  register8Item_->setChecked(true);
}

void DebuggerWindow::showListView(bool shown) {
  traceBox_->setVisible(shown && !showingTransactions_);
  transactionsBox_->setVisible(shown && showingTransactions_);
}

void DebuggerWindow::noteTransactionsChanged() {
  if (!transactionsTimer_.isActive()) transactionsTimer_.start(kTraceRefreshMs);
}

void DebuggerWindow::refreshTransactions() {
  transactionsTimer_.stop();
  if (!showingTransactions_) return;
  QScrollBar* lines = transactionsBox_->verticalScrollBar();
  const bool following = lines->value() >= lines->maximum();
  const int line = lines->value();
  const trace::TransactionView view{sevenBitAddresses_, addressBytes_};
  std::string text = trace::transactionLines(core_.record().entries(), view);
  if (!text.empty()) text.pop_back();
  transactionsBox_->setPlainText(QString::fromStdString(text));
  lines->setValue(following ? lines->maximum() : line);
}

void DebuggerWindow::showTrace() {
  // Chosen while the about view or the trace-buffer dialog is up, it shows after them.
  const bool listShown = !traceBox_->isHidden() || !transactionsBox_->isHidden();
  showingTransactions_ = false;
  viewTraceItem_->setChecked(true);
  viewTransactionsItem_->setChecked(false);
  showListView(listShown);
}

void DebuggerWindow::showTransactions() {
  const bool listShown = !traceBox_->isHidden() || !transactionsBox_->isHidden();
  showingTransactions_ = true;
  viewTraceItem_->setChecked(false);
  viewTransactionsItem_->setChecked(true);
  showListView(listShown);
  refreshTransactions();
}

void DebuggerWindow::toggleSevenBitAddresses() {
  sevenBitAddresses_ = !sevenBitAddresses_;
  refreshTransactions();
}

void DebuggerWindow::registersOf8Bits() { setAddressBytes(1); }

void DebuggerWindow::registersOf16Bits() { setAddressBytes(2); }

void DebuggerWindow::setAddressBytes(int bytes) {
  addressBytes_ = bytes;
  register8Item_->setChecked(bytes == 1);
  register16Item_->setChecked(bytes == 2);
  refreshTransactions();
}

void DebuggerWindow::toggleReadsAsExpect() { readsAsExpect_ = !readsAsExpect_; }

void DebuggerWindow::saveAsScript() {
  const bus::TransactionRecord& record = core_.record();
  const auto note = [this](const std::string& text) {
    windows_.messageBox({text, kScriptNoteTitle, desktop::MessageIcon::Information});
  };
  if (record.entries().empty()) return note(kNoTransactions);
  const scripts::Script script = scripts::scriptOfTransactions(
      record.entries(), {addressBytes_, readsAsExpect_, record.dropped()});
  if (!scripts::holdsCommand(script)) return note(kNoCommands);
  const std::string chosen =
      windows_.fileDialog({desktop::FileDialogMode::Save, kSaveScriptTitle, kScriptFileFilter});
  if (chosen.empty()) return;
  base::writeUserFile(scripts::withScriptExtension(chosen), scripts::writeScript(script),
                      "saveAsScript");
  if (record.dropped() > 0) note(scripts::droppedNote(record.dropped(), record.entries().size()));
}

}  // namespace brelvion::gui::debugger
