#pragma once

#include <cstddef>
#include <cstdint>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "scripts/Formats.h"
#include "scripts/ScriptBuilder.h"

namespace brelvion::scripts {

// One I2C message of an input that lists bus traffic: an i2ctransfer line's messages, an
// adapter batch's elements, a capture's decoded messages.
struct BusMessage {
  // The 8-bit write address (bit 0 clear).
  std::uint8_t address = 0;
  bool read = false;
  // The bytes written (for a read: the bytes read, when known).
  std::vector<std::uint8_t> bytes;
  // The bytes a read takes.
  std::size_t readLength = 0;
  std::size_t line = 0;
  // A remark for the command it becomes ("no ACK in the capture").
  std::string note;
};

// Turns messages into script commands: a write of a register and its value into `write`,
// a write of a register alone followed by a read of the same device into `read`. Widths
// given in the options must fit every message. Where none are given, a write keeps its
// device's widths so far when its length fits them, else takes the common ones for its
// length (2 bytes 8/8, 3 bytes 16/8, 4 bytes 16/16, 5 bytes 8/32, 6 bytes 16/32); a read
// takes the register width from the length of the register written before it, and the
// device's value width when the length read is a whole number of such values, else 8 bits.
// The bytes on the wire stay the same either way. A message that cannot be a command is a
// problem. With readsAsExpect, a read whose bytes are known becomes expect lines instead.
class MessageConverter {
 public:
  MessageConverter(const std::string& fileName, const ImportOptions& options,
                   ScriptBuilder& builder, Problems& problems)
      : fileName_(fileName), options_(options), builder_(builder), problems_(problems) {}

  void message(BusMessage message);
  void delay(std::uint32_t ms, std::string comment = {});
  void comment(std::string text);
  // Ends the input: a register write held back for a read that never came is a problem.
  void finish() { flushPointer(); }

 private:
  struct Widths {
    unsigned regBytes = 0;
    unsigned valBytes = 0;
  };

  void flushPointer();
  void hold(Statement statement);
  void releaseHeld();
  void write(const BusMessage& message);
  void read(const BusMessage& pointer, const BusMessage& message);
  std::optional<Widths> writeWidths(std::uint8_t device, std::size_t length) const;
  static std::optional<Widths> commonWidths(unsigned length);
  std::optional<unsigned> readValueBytes(std::uint8_t device, std::size_t length) const;
  void problem(std::size_t line, std::string message);

  const std::string& fileName_;
  const ImportOptions& options_;
  ScriptBuilder& builder_;
  Problems& problems_;
  // A write short enough to be a register pointer, held until the next message says.
  std::optional<BusMessage> pointer_;
  // Delays and comments that came after pointer_.
  std::vector<Statement> held_;
  // The widths of each device's last command.
  std::map<std::uint8_t, Widths> widths_;
};

// A read's registers as expect lines of the values bytes holds, each as wide as target's
// values, registers counted in bytes as sensors number them (a 16-bit value takes two).
std::vector<Statement> expectsOf(const Target& target, std::uint32_t reg, std::uint32_t count,
                                 const std::vector<std::uint8_t>& bytes);

// The number the bytes make, most significant first.
std::uint32_t bigEndian(const std::vector<std::uint8_t>& bytes, std::size_t from, std::size_t count);

}  // namespace brelvion::scripts
