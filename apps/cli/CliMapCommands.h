#pragma once

#include <cstdint>
#include <optional>
#include <ostream>
#include <variant>

#include "CliArguments.h"
#include "i2c/I2cTransfer.h"
#include "registers/RegisterMap.h"
#include "registers/Snapshot.h"

namespace brelvion::apps::cli {

// read-all, snapshot, diff against the device and write-back, checked before the bus is
// opened: the map, the device, and the snapshot diff or write-back works from.
struct MapCommand {
  registers::RegisterMap map;
  std::uint8_t device = 0;
  std::optional<registers::Snapshot> snapshot;
};

// Reads the map and the snapshot (a file that cannot be read, or is wrong, throws
// RuntimeError, as does an OUT that cannot be written there) and finds the device.
std::variant<MapCommand, UsageError> prepareMapCommand(const MapRequest& request);

// Runs a prepared command through master, as the register map window's actions do; the
// exit status. A read not acknowledged is named on err, the device as the 7-bit address
// with sevenBit.
int runMapCommand(const MapRequest& request, bool sevenBit, const MapCommand& command,
                  i2c::I2cMaster& master, std::ostream& out, std::ostream& err);

// diff A B: two snapshots, without the bus.
int runSnapshotDiff(const MapRequest& request, std::ostream& out);

}  // namespace brelvion::apps::cli
