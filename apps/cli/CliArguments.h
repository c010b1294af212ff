#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

#include "PortOptions.h"
#include "ShownArgument.h"

namespace brelvion::apps::cli {

enum class Command {
  Write, Read, Send, Dump, Scan, Ports, Recover, Import, Export,
  // The register map's actions, with --map.
  ReadAll, Snapshot, Diff, WriteBack
};

// The options of import and export, and send's of a bring-up script.
struct ScriptOptions {
  // import and export: the format's name as given, and the file converted.
  std::string format;
  std::string input;
  // -o: where the result goes instead of standard output.
  std::optional<std::string> output;
  // import: --device as given (read once --7bit is known), --skip-unknown, the VCD
  // signals, the shortest gap kept as a delay, the .i2c pauses kept.
  std::optional<std::string> deviceText;
  bool skipUnknown = false;
  std::optional<std::string> sclName;
  std::optional<std::string> sdaName;
  std::optional<double> minDelayMs;
  bool keepPauses = false;
  // import vcd --expect: reads become expect lines of the values they returned.
  bool readsAsExpect = false;
  // send FILE.i2cs: a command that is not acknowledged does not stop the script.
  bool keepGoing = false;
};

// The port options (backend, port, simulated devices, capture) come with the base.
struct CliRequest : apps::PortOptions {
  Command command = Command::Write;
  std::int16_t device = 0;
  // The register address, up to FFFF with --reg-bits 16.
  std::int32_t subAddress = 0;
  // The value written, up to FFFFFFFF with --value-bits 32.
  std::int64_t data = 0;
  // Registers to read, 1 to 32768.
  int count = 1;
  // The command file to send, the file to dump into, the snapshot to write (snapshot OUT),
  // to compare (diff A) or to write back.
  std::string file;
  // diff A B: the second snapshot; without it, A is compared with the device.
  std::optional<std::string> otherSnapshot;
  // The last register to dump, 0 to 32767.
  std::int16_t last = 0;
  // Extra seconds after each write of a send, 0 to 9.99.
  double delay = 0;

  bool trace = false;
  // One line a transaction on standard error (the transactions view's lines), instead of
  // the step trace.
  bool transactions = false;
  // DEV is read, and addresses are printed, as 7-bit addresses (device holds the 8-bit one).
  bool sevenBit = false;
  // A register read's pointer write and read are one transfer with a repeated START.
  bool repeatedStart = false;
  // scan: every address from 00h to 7Fh; one address a line instead of the grid.
  bool scanAll = false;
  bool scanList = false;
  // The line step in microseconds (5 to 1000) and how long a slave may hold SCL low in
  // milliseconds (1 to 10000), when given.
  std::optional<int> stepUs;
  std::optional<int> stretchTimeoutMs;

  // --reg-bits, --value-bits and --le, when given: the register format of write and read
  // (and, with --map, in place of the description's).
  std::optional<int> registerBits;
  std::optional<int> valueBits;
  bool littleEndian = false;
  // --map: write and read name a register of this description or list.
  std::optional<std::string> mapFile;
  std::string registerName;
  // The DATA of a write by name, checked against the register's width once the map is read.
  std::string dataText;
  // Whether DEV was given; by name it may come from the description instead.
  bool deviceGiven = true;

  ScriptOptions script;
};

struct HelpRequest {};
struct VersionRequest {};

struct UsageError {
  std::string message;
};

using ParsedArguments = std::variant<CliRequest, HelpRequest, VersionRequest, UsageError>;

// args without the program name. Options may come anywhere; "--" ends them. --help and
// --version are answered as they come, before any command is looked at.
ParsedArguments parseArguments(const std::vector<std::string>& args);

// Within 80 columns, for a terminal.
std::string usageText();

// Parts of the help that the help document's chapter on the companion shows as they are:
// a line a command ("brelvion-i2c-cli [options] write DEV SUB DATA", after indent), the
// options with their explanations, and the exit statuses.
std::string synopsisText(std::string_view indent);
std::string optionsText();
std::string exitStatusText();

using apps::escapeControls;
using apps::shownArgument;

}  // namespace brelvion::apps::cli
