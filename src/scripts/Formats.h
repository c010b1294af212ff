#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "capture/VcdReader.h"
#include "scripts/Problem.h"
#include "scripts/Script.h"

namespace brelvion::scripts {

// The formats engineers exchange register sequences in:
//   c            register tables of Linux sensor drivers
//   i2ctransfer  i2c-tools command lines (7-bit addresses), with sleep lines between
//   xml          an I2C adapter's batch file (<i2c_write>, <i2c_read>, <sleep>)
//   vcd          a logic-analyser capture of SCL and SDA (import only)
//   i2c          the tool's command files
enum class Format { C, I2ctransfer, Xml, Vcd, I2c };

std::optional<Format> formatNamed(std::string_view name);
std::string_view formatName(Format format);
// "c, i2ctransfer, xml, vcd, i2c", for usage texts.
std::string_view formatNames();
bool canExport(Format format);

struct ImportOptions {
  // The 8-bit write address of the commands where the input names none (a C table).
  std::optional<std::uint8_t> device;
  // The widths where the input does not say; unset, they are read from the input (a C
  // table's literals, the lengths of the messages).
  std::optional<int> addressBytes;
  std::optional<int> valueBytes;
  // Lines that cannot be converted are reported and left out, instead of failing.
  bool skipUnknown = false;
  // i2c: the fixed pause after every write becomes a delay line.
  bool keepPauses = false;
  // vcd: the names of the two lines, the shortest gap between transfers that becomes a
  // delay, and the longest pulse that is a glitch.
  capture::VcdSignals signals;
  double minDelayMs = 1.0;
  std::int64_t glitchNs = 50;
  // vcd: each read becomes expect lines holding the values the capture shows it returned.
  bool readsAsExpect = false;
};

struct ImportResult {
  Script script;
  // Every line that was not converted, with its line; in order.
  Problems problems;
  // The input as a whole cannot be read (no XML, no VCD, no device for a C table).
  bool failed = false;
  bool skipUnknown = false;

  // The script may be written: nothing failed, and problems were allowed to be skipped.
  bool ok() const { return !failed && (problems.empty() || skipUnknown); }
};

// Converts text (named fileName in problems) into a script.
ImportResult importText(Format format, std::string_view text, const std::string& fileName,
                        const ImportOptions& options);
// The same for a file. Throws base::RuntimeError naming the file when it cannot be read.
ImportResult importFile(Format format, const std::string& path, const ImportOptions& options);

struct ExportOptions {
  // i2ctransfer: the bus number of the lines written.
  unsigned i2cBus = 1;
  // i2ctransfer: a read's register pointer write and the read are one transfer (a repeated
  // START), as the run option of that name does; otherwise two, STOP then START.
  bool repeatedStartReads = false;
};

struct ExportResult {
  std::string text;
  // The first statement that cannot be expressed in the format, with its line.
  std::optional<Problem> problem;

  bool ok() const { return !problem; }
};

// Writes a checked script in format; scriptName names it in problems and in the note at
// the head of the output.
ExportResult exportScript(Format format, const Script& script, const std::string& scriptName,
                          const ExportOptions& options = {});

}  // namespace brelvion::scripts
