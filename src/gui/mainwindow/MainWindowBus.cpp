// The Bus menu, the adapters and GPIO lines in the port list and the status line's bus.
#include <QAction>
#include <QLabel>
#include <QStatusBar>

#include "bus/BusScan.h"
#include "core/RegisterCommands.h"
#include "gui/mainwindow/EntryField.h"
#include "gui/mainwindow/MainWindow.h"
#include "gui/scan/ScanDialog.h"
#include "numconv/HexText.h"
#include "windowlogic/PortList.h"

namespace brelvion::gui::mainwindow {

void MainWindow::setAdapters(std::vector<port::i2cdev::I2cAdapterInfo> adapters,
                             core::AdapterFactory factory) {
  adapters_ = std::move(adapters);
  adapterFactory_ = std::move(factory);
}

void MainWindow::setGpioLines(port::gpio::GpioLines& lines) {
  gpioLines_ = &lines;
  // Said once, when the lines are first requested: in the middle of a command or the start-up.
  lines.setNotice([this](const std::string& notice) {
    statusBar()->showMessage(QString::fromStdString(notice));
  });
}

core::LinesLookup MainWindow::gpioLinesLookup() const {
  return gpioLines_ != nullptr ? core::gpioLinesFor(*gpioLines_) : core::LinesLookup{};
}

void MainWindow::showBusNotice() {
  if (const port::BusAdapter* adapter = core_.adapter()) {
    busNotice_->setText(
        QString::fromStdString(windowlogic::adapterBusNotice(adapter->description())));
  } else if (core_.lines() != nullptr && gpioLines_ != nullptr) {
    busNotice_->setText(
        QString::fromStdString(windowlogic::gpioBusNotice(gpioLines_->choice())));
  } else {
    busNotice_->setText(parallelNotice_);
  }
}

i2c::AfterMessage MainWindow::readPointerThen() const {
  return core::readPointerThen(c_.repeatedStartAction->isChecked());
}

void MainWindow::scanBus() {
  if (scanDialog_ == nullptr) {
    scanDialog_ = new scan::ScanDialog(this);
    connect(scanDialog_, &scan::ScanDialog::addressChosen, this,
            [this](std::uint8_t address) { trapped([&] { useScannedAddress(address); }); });
    connect(scanDialog_, &scan::ScanDialog::rescanRequested, this,
            [this] { trapped([this] { runScan(); }); });
  }
  runScan();
  scanDialog_->open();
}

void MainWindow::runScan() {
  bus::ScanOutcome outcome;
  const auto scan = [&] {
    trace::DebugLog::BulkAction bulk(core_.log());
    outcome = bus::scanBus(core_.master(), bus::kUsualScanRange, [&] { return bulk.stopped(); });
  };
  if (busCommand("Scan", scan)) {
    scanDialog_->showOutcome(outcome);
  }
}

// The field's own handler takes the new text into the device address.
void MainWindow::useScannedAddress(std::uint8_t writeAddress) {
  c_.deviceAddress->setText(QString::fromStdString(numconv::upperHex(writeAddress, 2)));
  scanDialog_->accept();
}

}  // namespace brelvion::gui::mainwindow
