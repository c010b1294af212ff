#include "CliMapCommands.h"

#include <algorithm>
#include <chrono>
#include <vector>

#include "CliRun.h"
#include "base/UserFile.h"
#include "i2c/DeviceAddress.h"
#include "registers/Diff.h"
#include "registers/Fields.h"
#include "registers/MapActions.h"
#include "registers/MapFiles.h"
#include "registers/MapWindowLogic.h"
#include "registers/ReadPlan.h"
#include "registers/RegisterTable.h"

namespace brelvion::apps::cli {

namespace {

constexpr const char* kProgram = "brelvion-i2c-cli";

// The longest read the window makes too: what an i2c-dev adapter takes in one message.
constexpr std::size_t kReadBytes = registers::kI2cDevMessageLimit;

// A line a register, "0005 STATUS  01", names in a column of their own; a value not read
// shows as --, and a write-only register says so. The fields of a value read follow it.
void printTable(const registers::RegisterTable& table, std::ostream& out) {
  const registers::RegisterMap& map = table.map();
  std::size_t nameWidth = 1;
  for (const registers::Register& reg : map.registers) {
    nameWidth = std::max(nameWidth, reg.name.size());
  }
  for (std::size_t index = 0; index < map.registers.size(); ++index) {
    const registers::Register& reg = map.registers[index];
    std::string name = reg.name.empty() ? "-" : reg.name;
    name.resize(nameWidth, ' ');
    const auto& value = table.state(index).value;
    std::string shown = value ? registers::valueHex(*value, reg.valueBytes) : "--";
    if (!reg.readable()) shown = "(write-only)";
    out << registers::addressHex(reg.address, map.format.addressBytes) << ' ' << name << "  "
        << shown << '\n';
    if (value) {
      for (const std::string& line : registers::decodedFieldLines(reg, *value)) out << line << '\n';
    }
  }
}

// Reads every register into table; false, with the device named on err, when a read was
// not acknowledged.
bool readAll(bool sevenBit, const MapCommand& command, i2c::I2cMaster& master,
             registers::RegisterTable& table, std::ostream& err) {
  const registers::ReadOutcome outcome = registers::readRuns(
      master, command.device, table, registers::planReadAll(table.map(), kReadBytes));
  if (outcome.notAcknowledged == 0) return true;
  err << kProgram << ": NO ACK from device "
      << i2c::ParsedAddress::fromByte(command.device).text(i2c::addressForm(sevenBit))
      << " (" << outcome.notAcknowledged << " of " << outcome.reads << " reads)\n";
  return false;
}

int runSnapshot(const MapRequest& request, bool sevenBit, const MapCommand& command,
                i2c::I2cMaster& master, std::ostream& err) {
  registers::RegisterTable table(command.map);
  if (!readAll(sevenBit, command, master, table, err)) {
    err << kProgram << ": " << request.file << " not written: a snapshot would lack registers\n";
    return kExitNotAcknowledged;
  }
  const registers::Snapshot snapshot =
      table.snapshot(registers::snapshotTime(std::chrono::system_clock::now()), command.device);
  if (snapshot.values.empty()) {
    err << kProgram << ": " << request.file << " not written: no register of " << *request.mapFile
        << " can be read\n";
    return kExitUsageOrPortError;
  }
  registers::saveSnapshot(request.file, snapshot);
  return kExitAcknowledged;
}

// A title ("a.snap -> live values: 2 differences") and a line a difference.
int printDifferences(const std::vector<registers::Difference>& differences, const std::string& left,
                     const std::string& right, int addressBytes, std::ostream& out) {
  out << registers::comparisonTitle(left, right, differences.size()) << '\n';
  for (const registers::Difference& difference : differences) {
    out << registers::differenceText(difference, addressBytes) << '\n';
  }
  return differences.empty() ? kExitAcknowledged : kExitNotAcknowledged;
}

}  // namespace

std::variant<MapCommand, UsageError> prepareMapCommand(const MapRequest& request) {
  MapCommand command;
  command.map = registers::loadRegisterMap(*request.mapFile);
  if (request.device) {
    command.device = static_cast<std::uint8_t>(*request.device);
  } else if (command.map.deviceAddress) {
    command.device = *command.map.deviceAddress;
  } else {
    return UsageError{*request.mapFile + " gives no i2c-address: name the device (--device DEV)"};
  }
  if (request.action == MapAction::Diff || request.action == MapAction::WriteBack) {
    command.snapshot = registers::loadSnapshot(request.file);
  }
  // Refused before the bus is used, so that a snapshot's reads are not lost to its folder.
  if (request.action == MapAction::Snapshot) {
    if (auto problem = base::userFileProblem(request.file, "snapshot")) throw *problem;
  }
  return command;
}

int runMapCommand(const MapRequest& request, bool sevenBit, const MapCommand& command,
                  i2c::I2cMaster& master, std::ostream& out, std::ostream& err) {
  if (request.action == MapAction::Snapshot) {
    return runSnapshot(request, sevenBit, command, master, err);
  }
  registers::RegisterTable table(command.map);
  if (request.action == MapAction::WriteBack) {
    const registers::RestoreOutcome outcome = registers::restoreSnapshot(
        master, command.device, table, registers::planWriteBack(command.map, *command.snapshot),
        registers::planReadAll(command.map, kReadBytes));
    out << registers::restoreText(outcome) << '\n';
    printTable(table, out);
    const bool acknowledged =
        outcome.written.notAcknowledged == 0 && outcome.read.notAcknowledged == 0;
    return acknowledged ? kExitAcknowledged : kExitNotAcknowledged;
  }
  const bool read = readAll(sevenBit, command, master, table, err);
  if (request.action == MapAction::ReadAll) {
    printTable(table, out);
    return read ? kExitAcknowledged : kExitNotAcknowledged;
  }
  // Values that could not be read would only show as differences.
  if (!read) return kExitNotAcknowledged;
  return printDifferences(registers::compareValues(command.snapshot->values, table.liveValues()),
                          request.file, "live values", command.map.format.addressBytes, out);
}

int runSnapshotDiff(const MapRequest& request, std::ostream& out) {
  const registers::Snapshot left = registers::loadSnapshot(request.file);
  const registers::Snapshot right = registers::loadSnapshot(*request.otherSnapshot);
  return printDifferences(registers::compareValues(left.values, right.values), request.file,
                          *request.otherSnapshot, std::max(left.addressBytes, right.addressBytes),
                          out);
}

}  // namespace brelvion::apps::cli
