#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "i2c/I2cTransfer.h"
#include "registers/ReadPlan.h"
#include "registers/RegisterTable.h"
#include "registers/Snapshot.h"

namespace brelvion::registers {

// What the register map does on the bus, each through the one bus master it is given, so
// every transaction shows in the trace and the captures like any other command.

// Asked between the steps of a bulk action: true ends it there (Stop on Error stopped it).
using StopCheck = std::function<bool()>;

struct ReadOutcome {
  std::size_t reads = 0;
  std::size_t notAcknowledged = 0;
  std::size_t registers = 0;
  // Ended by the stop check before the last run.
  bool stopped = false;
};

// Each run in one sequential read, its values into the table, until stop says so.
ReadOutcome readRuns(i2c::I2cMaster& master, std::uint8_t device, RegisterTable& table,
                     const std::vector<ReadRun>& runs, const StopCheck& stop = {});
// "Read 19 registers in 9 reads", with how many were not acknowledged.
std::string readText(const ReadOutcome& outcome);

struct WriteOutcome {
  bool acknowledged = false;
  // The read back after the write: nothing for a write-only register, or one not acknowledged.
  std::optional<std::uint32_t> readBack;
};

// Writes value to the register and, unless it is write-only, reads it back; both go into
// the table. A read-only register is never written: RuntimeError 5 before the bus is
// touched, as for a value wider than the register.
WriteOutcome writeAndCheck(i2c::I2cMaster& master, std::uint8_t device, RegisterTable& table,
                           std::size_t index, std::uint32_t value);
// "MODE_SELECT (0100) = 01: written and read back", or what went wrong.
std::string writeText(const RegisterMap& map, std::size_t index, std::uint32_t value,
                      const WriteOutcome& outcome);

struct ChipIdOutcome {
  bool answered = false;
  std::uint32_t value = 0;
  bool matches = false;
};

// Reads the map's chip-ID register (the map must have one).
ChipIdOutcome checkChipId(i2c::I2cMaster& master, std::uint8_t device, const RegisterMap& map);
std::string chipIdText(const RegisterMap& map, std::uint8_t device, const ChipIdOutcome& outcome);

struct PlannedWrite {
  std::size_t index = 0;
  std::uint32_t value = 0;
};
struct WriteBackPlan {
  // In address order.
  std::vector<PlannedWrite> writes;
  // Values the map has no writable register of that address and width for.
  std::vector<RegisterValue> skipped;
};

// The writes that put a snapshot's values back: writable registers only, in address order.
WriteBackPlan planWriteBack(const RegisterMap& map, const Snapshot& snapshot);

struct WriteBackOutcome {
  std::size_t written = 0;
  std::size_t notAcknowledged = 0;
  std::size_t skipped = 0;
  // Ended by the stop check before the last write.
  bool stopped = false;
};

// The plan's writes, one transaction each, without read backs: a read afterwards shows
// what stuck. Ends early when stop says so.
WriteBackOutcome writeBack(i2c::I2cMaster& master, std::uint8_t device, RegisterTable& table,
                           const WriteBackPlan& plan, const StopCheck& stop = {});
std::string writeBackText(const WriteBackOutcome& outcome);

// Write Snapshot Back: the plan's writes, then every register read again (reads of up to
// maxBytes), so that the table shows what stuck. The written counts, and how the read went.
struct RestoreOutcome {
  WriteBackOutcome written;
  ReadOutcome read;
};
// runs: how the map is read again (planReadAll); stop ends both at an error.
RestoreOutcome restoreSnapshot(i2c::I2cMaster& master, std::uint8_t device, RegisterTable& table,
                               const WriteBackPlan& plan, const std::vector<ReadRun>& runs,
                               const StopCheck& stop = {});
// "Wrote 5 registers back, then read all again", with what the write back says; a restore
// stopped at an error says so instead of the read.
std::string restoreText(const RestoreOutcome& outcome);

}  // namespace brelvion::registers
