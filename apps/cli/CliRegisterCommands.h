#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <ostream>
#include <string>
#include <variant>

#include "CliArguments.h"
#include "i2c/RegisterFormat.h"
#include "i2c/I2cTransfer.h"
#include "registers/RegisterMap.h"

namespace brelvion::apps::cli {

// write and read in a register format of their own (--reg-bits, --value-bits, --le) or by
// name (--map), resolved before the bus is touched.
struct RegisterCommand {
  std::uint8_t device = 0;
  i2c::RegisterFormat format;
  std::uint32_t registerAddress = 0;
  std::uint32_t value = 0;
  std::size_t count = 1;
  // By name: the map and the register in it.
  std::optional<registers::RegisterMap> map;
  std::size_t registerIndex = 0;
};

// The design's one-byte write and read, which keep their own transactions.
struct DesignRegisters {};

using PreparedRegisters = std::variant<DesignRegisters, RegisterCommand, UsageError>;

// Reads the map when there is one (a file that cannot be read, or is wrong, throws
// RuntimeError) and checks the name, the value's width and the register's access. A
// write or read in the design's format, and any other command, comes back as
// DesignRegisters.
PreparedRegisters prepareRegisterCommand(const CommandRequest& request);

// Runs a prepared write or read through master and prints its result; the exit status.
//   write: the value read back and ACK or NO ACK ("0100 MODE_SELECT 01 ACK" by name);
//   read: the values, 16 bytes' worth a line, or by name the value and its fields.
// ACK means every transfer of the command was acknowledged.
int runRegisterCommand(const CommandRequest& request, const RegisterCommand& command,
                       i2c::I2cMaster& master, std::ostream& out);

}  // namespace brelvion::apps::cli
