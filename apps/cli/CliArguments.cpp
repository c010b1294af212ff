#include "CliArguments.h"

#include <array>

#include "CliFileArguments.h"
#include "CliMapArguments.h"
#include "CliRegisterArguments.h"
#include "CliScriptArguments.h"

namespace brelvion::apps::cli {

namespace {

constexpr const char* kProgram = "brelvion-i2c-cli";

// Reads a command's arguments, and the options it takes, into request.command.
using Parse = ArgumentError (*)(const std::vector<std::string>& arguments,
                                const CommandOptions& given, CliRequest& request);
// Refuses, once the port options are known good, the options given that the command does
// not take; each command in its own order.
using Refuse = ArgumentError (*)(const CommandOptions& given, const CliRequest& request);

struct CommandSpec {
  const char* name;
  // The arguments as the usage shows them, and how many there may be.
  const char* arguments;
  std::size_t minArguments;
  std::size_t maxArguments;
  // Lines of the help text, each already within the width of the usage text.
  const char* help;
  Parse parse;
  Refuse refuse;
  // Under --map the command names a register, with arguments it counts itself.
  bool byNameUnderMap;
};

template <typename Request>
ArgumentError parseWithout(const std::vector<std::string>&, const CommandOptions&,
                           CliRequest& request) {
  request.command = Request{};
  return std::nullopt;
}

ArgumentError parseScan(const std::vector<std::string>&, const CommandOptions& given,
                        CliRequest& request) {
  request.command = ScanRequest{given.has("--all"), given.has("--list")};
  return std::nullopt;
}

constexpr Parse parsePorts = parseWithout<PortsRequest>;
constexpr Parse parseRecover = parseWithout<RecoverRequest>;

const std::array<CommandSpec, 13> kCommands{{
    {"write", "DEV SUB DATA", 3, 3,
     "Write DATA to register SUB of device DEV, then read the\n"
     "register back. Prints the byte read back in hex and ACK or\n"
     "NO ACK (the acknowledge of the read's address byte).\n",
     parseWrite, refuseForRegisters, true},
    {"read", "DEV SUB [N]", 2, 3,
     "Set the register pointer to SUB, then read N bytes in one\n"
     "sequential read (default 1), printed in hex, 16 a line.\n",
     parseRead, refuseForRegisters, true},
    {"send", "FILE", 1, 1,
     "Send a command file as Send File does: three hex values\n"
     "a write (device, register, data), ';' starts a comment.\n"
     "Pauses 0.1 s plus --delay after each write. Prints one\n"
     "line a write: DEV SUB DATA and ACK or NO ACK (the data\n"
     "byte's), DEV as sent (bit 0 cleared). A bring-up script\n"
     "(FILE.i2cs) is checked whole first, then run: one line a\n"
     "bus command (20 0103 01 ACK, 20 0000 = B716 OK, 20 0005\n"
     "= 01 after 5 ms); a NO ACK stops it unless --keep-going,\n"
     "a failed poll or expect always, with FILE:LINE. - is\n"
     "standard input, a script when it starts with a command.\n",
     parseSend, refuseForSend, false},
    {"dump", "DEV LAST FILE", 3, 3,
     "Read registers 0 to LAST of DEV and write them to FILE\n"
     "as Dump to File does: one line a register, read address,\n"
     "register and value in hex. FILE is replaced only by a\n"
     "complete dump; - is standard output.\n",
     parseDump, refuseForBus, false},
    {"scan", "", 0, 0,
     "Probe every address from 08 to 77 (7-bit; --all: 00 to\n"
     "7F) as i2cdetect does, and print those that answered in\n"
     "its grid, as 8-bit write addresses (--7bit: 7-bit ones),\n"
     "or one a line with --list. On a parallel port it first\n"
     "checks that SDA reads high with both lines released.\n",
     parseScan, refuseForBus, false},
    {"ports", "", 0, 0,
     "List the parallel ports, I2C adapters and GPIO chips\n"
     "found, what each adapter can do, how many lines each chip\n"
     "has, and what --backend auto picks.\n",
     parsePorts, refuseForBus, false},
    {"recover", "", 0, 0,
     "Free a bus a slave holds: while SDA reads low, up to nine\n"
     "clock pulses, then a STOP. Prints whether the bus is free\n"
     "and after how many pulses. Unlike the other commands it\n"
     "does not start with the six-pulse bus clear.\n",
     parseRecover, refuseForBus, false},
    {"import", "FORMAT IN", 2, 2,
     "Convert IN into a bring-up script, on standard output or\n"
     "into -o OUT. FORMAT: c (a driver's register table),\n"
     "i2ctransfer, xml (an adapter's batch file), vcd (a\n"
     "capture of SCL and SDA) or i2c (a command file). A line\n"
     "that cannot be converted is named with its line number\n"
     "and nothing is written (--skip-unknown: written without\n"
     "it).\n",
     parseImport, refuseForImport, false},
    {"export", "FORMAT IN", 2, 2,
     "Write the bring-up script IN as c, i2ctransfer, xml or\n"
     "i2c, on standard output or into -o OUT. A command the\n"
     "format cannot express is named with its line.\n",
     parseExport, refuseForExport, false},
    {"read-all", "", 0, 0,
     "With --map FILE: read every register of the map that may\n"
     "be read, contiguous ones in one sequential read each, and\n"
     "print a line a register (address, name, value; -- when\n"
     "not read), its bit fields below it.\n",
     parseReadAll, refuseForMap, false},
    {"snapshot", "OUT", 1, 1,
     "With --map FILE: read all, then write the values to OUT\n"
     "as a register snapshot (.snap). OUT is replaced only by\n"
     "a complete snapshot, and not at all when a read is not\n"
     "acknowledged; - is standard output.\n",
     parseSnapshot, refuseForMap, false},
    {"diff", "A [B]", 1, 2,
     "Compare snapshot A with snapshot B, or (with --map FILE)\n"
     "with the device's values read now; print a line a\n"
     "difference, A's value first (0100 MODE_SELECT: 00 -> 01).\n"
     "Exit status 1 when they differ.\n",
     parseDiff, refuseForMap, false},
    {"write-back", "SNAPSHOT", 1, 1,
     "With --map FILE: write the snapshot's values to the\n"
     "map's writable registers of the same address and width,\n"
     "in address order, then read all again and print it as\n"
     "read-all does.\n",
     parseWriteBack, refuseForMap, false},
}};


// "write DEV SUB DATA", "scan".
std::string commandHead(const CommandSpec& command) {
  std::string head = command.name;
  if (*command.arguments != '\0') head += std::string(" ") + command.arguments;
  return head;
}

// The commands a usage error suggests: those that need no map. The map's come last in the
// table, and --help shows them.
constexpr std::size_t kSuggestedCommands = 9;

std::string commandNames() {
  std::string names;
  for (std::size_t i = 0; i < kSuggestedCommands; ++i) {
    if (i > 0) names += i + 1 == kSuggestedCommands ? " or " : ", ";
    names += kCommands[i].name;
  }
  return names;
}

const CommandSpec* findCommand(const std::string& name) {
  for (const CommandSpec& command : kCommands) {
    if (name == command.name) return &command;
  }
  return nullptr;
}

ArgumentError parseCommand(const CommandSpec& command, const std::vector<std::string>& arguments,
                           const CommandOptions& given, CliRequest& request) {
  const bool countsItself = command.byNameUnderMap && given.has("--map");
  if (!countsItself && (arguments.size() < command.minArguments ||
                        arguments.size() > command.maxArguments)) {
    if (command.maxArguments == 0) return std::string(command.name) + " takes no arguments";
    return std::string(command.name) + " wants " + command.arguments;
  }
  return command.parse(arguments, given, request);
}

// The command, its arguments and options, after the options were scanned.
ParsedArguments parseScanned(const ScannedArguments& scanned) {
  const std::vector<std::string>& words = scanned.words;
  if (words.empty()) {
    return UsageError{"no command given (use " + commandNames() + "; --help explains)"};
  }
  const CommandSpec* command = findCommand(words[0]);
  if (command == nullptr) {
    return UsageError{"unknown command " + shownArgument(words[0]) + " (use " + commandNames() +
                      ")"};
  }
  CliRequest request;
  static_cast<SessionOptions&>(request) = scanned.session;
  const std::vector<std::string> arguments(words.begin() + 1, words.end());
  if (auto error = parseCommand(*command, arguments, scanned.given, request)) {
    return UsageError{*error};
  }
  const bool scan = std::holds_alternative<ScanRequest>(request.command);
  if (!scan && scanned.given.hasAny({"--all", "--list"})) {
    return UsageError{"--all and --list go with scan"};
  }
  if (auto problem = apps::portOptionsProblem(request)) return UsageError{*problem};
  if (auto error = command->refuse(scanned.given, request)) return UsageError{*error};
  return request;
}

// Each meaning's lines already within the width of the usage text.
const std::array<std::pair<const char*, const char*>, 3> kExitStatuses{{
    {"0", "acknowledged (for send: every write; for scan: something\n"
          "answered; for recover: the bus is free; for diff: no differences)\n"},
    {"1", "not acknowledged (for scan: nothing answered; for recover: still\n"
          "held); for diff: the snapshots or the device differ\n"},
    {"2", "bad usage, a port error, SDA held low, a command file, map or\n"
          "snapshot that could not be read, or a dump, snapshot, capture or\n"
          "standard output that could not be written; for a script also a\n"
          "failed poll or expect, or a script with problems, and for import\n"
          "and export a line that cannot be converted\n"},
}};


}  // namespace

ParsedArguments parseArguments(const std::vector<std::string>& args) {
  const auto scanned = scanArguments(args);
  if (std::holds_alternative<HelpRequest>(scanned)) return HelpRequest{};
  if (std::holds_alternative<VersionRequest>(scanned)) return VersionRequest{};
  if (const auto* error = std::get_if<ArgumentError>(&scanned)) return UsageError{**error};
  return parseScanned(std::get<ScannedArguments>(scanned));
}

std::string synopsisText(std::string_view indent) {
  std::string text;
  for (const CommandSpec& command : kCommands) {
    text += std::string(indent) + kProgram + " [options] " + commandHead(command) + '\n';
  }
  return text;
}

std::string exitStatusText() {
  std::string text;
  for (const auto& [status, meaning] : kExitStatuses) appendHelp(text, status, meaning, 7);
  return text;
}

std::string usageText() {
  std::string text = synopsisText("       ");
  text.replace(0, 7, "Usage: ");
  text +=
      "\nDrives an I2C bus bit by bit through a PC parallel port or two GPIO lines, as\n"
      "the Brelvion I2C Debug Tool does, or through a Linux I2C adapter (/dev/i2c-N: a\n"
      "USB bridge, an SoC's bus), for scripts and quick checks without its windows.\n"
      "\nCommands:\n";
  for (const CommandSpec& command : kCommands) appendHelp(text, commandHead(command), command.help);
  text +=
      "\n  DEV, SUB and DATA are one or two hex digits. DEV is the device's write address\n"
      "  (the 7-bit address shifted left, e.g. 42; with --7bit the 7-bit address, e.g.\n"
      "  21); N is decimal, 1 to 32768; LAST is decimal, 0 to 32767. With --reg-bits\n"
      "  16, SUB takes up to 4 hex digits; with --value-bits 16 or 32, DATA takes up to\n"
      "  4 or 8; ACK then means that every message of the command was acknowledged.\n"
      "\n  With --map, write and read name the register:\n"
      "    brelvion-i2c-cli --map FILE [options] write [DEV] NAME DATA\n"
      "    brelvion-i2c-cli --map FILE [options] read [DEV] NAME\n"
      "  DEV, when given, is used in place of the description's i2c-address; for\n"
      "  read-all, snapshot, diff and write-back, --device DEV is.\n"
      "\nOptions:\n";
  text += optionsText();
  text += "\nExit status:\n" + exitStatusText();
  return text;
}

}  // namespace brelvion::apps::cli
