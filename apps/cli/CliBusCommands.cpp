#include "CliBusCommands.h"

#include "CliRun.h"
#include "ShownArgument.h"
#include "base/RuntimeError.h"
#include "bus/BusScan.h"
#include "bus/ScanTable.h"
#include "port/LptRegisters.h"
#include "core/PortBackend.h"
#include "port/gpio/GpioChips.h"
#include "port/hardware/ParportDevices.h"
#include "port/hardware/PortAddressText.h"
#include "port/i2cdev/I2cAdapterList.h"
#include "port/i2cdev/I2cDevAdapter.h"
#include "port/i2cdev/I2cFunctionality.h"

namespace brelvion::apps::cli {

namespace {

constexpr const char* kProgram = "brelvion-i2c-cli";

std::string parallelPortLine(const port::hardware::ParportDevice& device) {
  std::string line = "  " + device.devicePath + " at ";
  line += device.base ? port::hardware::portAddressText(*device.base) : "an unknown address";
  if (device.base && port::isLptBase(*device.base)) {
    line += " (lpt" + std::to_string(port::lptIndex(*device.base) + 1) + ")";
  }
  if (!device.nodePresent) line += ": no device node (sudo modprobe ppdev)";
  return line;
}

std::string adapterLine(const port::i2cdev::I2cAdapterInfo& adapter,
                        port::i2cdev::I2cDevSystemCalls& calls) {
  std::string line = "  " + port::i2cdev::describeAdapter(adapter) + ": ";
  try {
    port::i2cdev::I2cDevAdapter opened(adapter.number, calls);
    line += port::i2cdev::functionalityText(opened.functionality());
  } catch (const base::RuntimeError& error) {
    line += error.description();
  }
  return line;
}

// "gpiochip0, pinctrl-bcm2711: 58 lines", or why the chip could not be asked.
std::string gpioChipLine(const port::gpio::GpioChip& chip) {
  std::string line = "  " + chip.name;
  if (!chip.label.empty()) line += ", " + escapeControls(chip.label);
  if (!chip.problem.empty()) return line + ": " + chip.problem;
  return line + ": " + std::to_string(chip.lines) + (chip.lines == 1 ? " line" : " lines");
}

// What --backend auto runs on for the request's port.
std::string autoChoice(const apps::PortOptions& request, const std::filesystem::path& root,
                       port::hardware::PortSystemCalls& calls) {
  if (const auto* adapter = request.port.i2cDevAdapter()) {
    return "i2cdev, the I2C adapter /dev/i2c-" + std::to_string(adapter->number);
  }
  if (request.onGpioLines()) return "gpio, SCL and SDA on GPIO lines";
  const core::OpenedPort opened =
      core::openPortBackend(core::PortBackend::Auto, apps::simulationOf(request), root, calls);
  if (opened.backend == core::PortBackend::Ppdev) return "ppdev (a parallel port is there)";
  return opened.notice;
}

}  // namespace

int runScan(const ScanRequest& request, bool sevenBit, bus::BusMaster& master, std::ostream& out,
            std::ostream& err) {
  const bus::ScanRange range = request.all ? bus::kFullScanRange : bus::kUsualScanRange;
  const bus::ScanOutcome outcome = bus::scanBus(master, range);
  if (outcome.sdaHeldLow) {
    err << kProgram << ": " << bus::kSdaHeldLowText << '\n';
    return kExitUsageOrPortError;
  }
  const auto labels = sevenBit ? bus::AddressLabels::SevenBit : bus::AddressLabels::EightBit;
  out << (request.list ? bus::scanListText(outcome.answered, labels)
                           : bus::scanGridText(bus::scanGrid(outcome, range, labels)));
  return outcome.answered.empty() ? kExitNotAcknowledged : kExitAcknowledged;
}

int runPorts(const apps::PortOptions& request, std::ostream& out,
             const std::filesystem::path& root, const PortsCalls& calls) {
  out << "Parallel ports:\n";
  const auto parports = port::hardware::listParportDevices(root);
  for (const auto& device : parports) out << parallelPortLine(device) << '\n';
  if (parports.empty()) out << "  none found\n";

  out << "I2C adapters:\n";
  const auto adapters = port::i2cdev::listI2cAdapters(calls.i2c);
  for (const auto& adapter : adapters) out << adapterLine(adapter, calls.i2c) << '\n';
  if (adapters.empty()) out << "  none found (the i2c-dev module: sudo modprobe i2c-dev)\n";

  out << "GPIO chips:\n";
  const auto chips = port::gpio::listGpioChips(calls.gpio, root);
  for (const auto& chip : chips) out << gpioChipLine(chip) << '\n';
  if (chips.empty()) out << "  none found\n";

  out << "--backend auto with --port " << shownPortName(request.port) << ": "
      << autoChoice(request, root, calls.parport) << '\n';
  return kExitAcknowledged;
}

}  // namespace brelvion::apps::cli
