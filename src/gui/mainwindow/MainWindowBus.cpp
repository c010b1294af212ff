// The Bus menu, the adapters in the port list and the status line's bus.
#include <QAction>
#include <QLabel>

#include "bus/BusScan.h"
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

void MainWindow::showBusNotice() {
  const port::BusAdapter* adapter = core_.adapter();
  busNotice_->setText(adapter == nullptr ? parallelNotice_
                                         : QString::fromStdString(windowlogic::adapterBusNotice(
                                               adapter->description())));
}

void MainWindow::repeatedStartToggled() {
  core_.busState().RepeatedStartReads = c_.repeatedStartAction->isChecked();
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
  if (busCommand("Scan", [&] { outcome = bus::scanBus(core_.engine()); })) {
    scanDialog_->showOutcome(outcome);
  }
}

// The field's own handler takes the new text into the device address.
void MainWindow::useScannedAddress(std::uint8_t writeAddress) {
  c_.deviceAddress->setText(QString::fromStdString(numconv::UpperHex(writeAddress, 2)));
  scanDialog_->accept();
}

}  // namespace brelvion::gui::mainwindow
