#include "CliArguments.h"

#include <array>
#include <cctype>
#include <charconv>
#include <string_view>
#include <utility>

#include "CliMapArguments.h"
#include "CliRegisterArguments.h"
#include "CliScriptArguments.h"
#include "base/RuntimeError.h"
#include "bus/LineControls.h"
#include "commandfiles/CommandDelay.h"

namespace brelvion::apps::cli {

namespace {

constexpr int kMaxReadCount = 32768;
constexpr int kMaxDumpLast = 32767;
constexpr const char* kProgram = "brelvion-i2c-cli";

using Error = std::optional<std::string>;


std::optional<int> decimal(const std::string& text) {
  int value = 0;
  const char* end = text.data() + text.size();
  const auto [ptr, ec] = std::from_chars(text.data(), end, value);
  if (text.empty() || ec != std::errc() || ptr != end) return std::nullopt;
  return value;
}

// ---- Commands --------------------------------------------------------------------------

struct CommandSpec {
  const char* name;
  // The arguments as the usage shows them, and how many there may be.
  const char* arguments;
  std::size_t minArguments;
  std::size_t maxArguments;
  // Lines of the help text, each already within the width of the usage text.
  const char* help;
  Error (*apply)(const std::vector<std::string>& arguments, CliRequest& request);
};

Error applyWrite(const std::vector<std::string>& arguments, CliRequest& request) {
  request.command = Command::Write;
  if (auto error = deviceArgument(arguments[0], request)) return error;
  if (auto error = registerArgument(arguments[1], "SUB", request.registerBits, "--reg-bits",
                                    request.subAddress)) {
    return error;
  }
  return registerArgument(arguments[2], "DATA", request.valueBits, "--value-bits", request.data);
}

Error applyRead(const std::vector<std::string>& arguments, CliRequest& request) {
  request.command = Command::Read;
  if (auto error = deviceArgument(arguments[0], request)) return error;
  if (auto error = registerArgument(arguments[1], "SUB", request.registerBits, "--reg-bits",
                                    request.subAddress)) {
    return error;
  }
  if (arguments.size() == 3) {
    const auto count = decimal(arguments[2]);
    if (!count || *count < 1 || *count > kMaxReadCount) {
      return "N must be a decimal count from 1 to 32768, not " + shownArgument(arguments[2]);
    }
    request.count = *count;
  }
  return std::nullopt;
}

Error applySend(const std::vector<std::string>& arguments, CliRequest& request) {
  request.command = Command::Send;
  request.file = arguments[0];
  return std::nullopt;
}

Error applyDump(const std::vector<std::string>& arguments, CliRequest& request) {
  request.command = Command::Dump;
  if (auto error = deviceArgument(arguments[0], request)) return error;
  const auto last = decimal(arguments[1]);
  if (!last || *last < 0 || *last > kMaxDumpLast) {
    return "LAST must be a decimal register number from 0 to 32767, not " +
           shownArgument(arguments[1]);
  }
  request.last = static_cast<std::int16_t>(*last);
  request.file = arguments[2];
  return std::nullopt;
}

Error applyScan(const std::vector<std::string>&, CliRequest& request) {
  request.command = Command::Scan;
  return std::nullopt;
}

Error applyPorts(const std::vector<std::string>&, CliRequest& request) {
  request.command = Command::Ports;
  return std::nullopt;
}


Error applyRecover(const std::vector<std::string>&, CliRequest& request) {
  request.command = Command::Recover;
  return std::nullopt;
}

const std::array<CommandSpec, 13> kCommands{{
    {"write", "DEV SUB DATA", 3, 3,
     "Write DATA to register SUB of device DEV, then read the\n"
     "register back. Prints the byte read back in hex and ACK or\n"
     "NO ACK (the acknowledge of the read's address byte).\n",
     applyWrite},
    {"read", "DEV SUB [N]", 2, 3,
     "Set the register pointer to SUB, then read N bytes in one\n"
     "sequential read (default 1), printed in hex, 16 a line.\n",
     applyRead},
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
     applySend},
    {"dump", "DEV LAST FILE", 3, 3,
     "Read registers 0 to LAST of DEV and write them to FILE\n"
     "as Dump to File does: one line a register, read address,\n"
     "register and value in hex. FILE is replaced only by a\n"
     "complete dump; - is standard output.\n",
     applyDump},
    {"scan", "", 0, 0,
     "Probe every address from 08 to 77 (7-bit; --all: 00 to\n"
     "7F) as i2cdetect does, and print those that answered in\n"
     "its grid, as 8-bit write addresses (--7bit: 7-bit ones),\n"
     "or one a line with --list. On a parallel port it first\n"
     "checks that SDA reads high with both lines released.\n",
     applyScan},
    {"ports", "", 0, 0,
     "List the parallel ports, I2C adapters and GPIO chips\n"
     "found, what each adapter can do, how many lines each chip\n"
     "has, and what --backend auto picks.\n",
     applyPorts},
    {"recover", "", 0, 0,
     "Free a bus a slave holds: while SDA reads low, up to nine\n"
     "clock pulses, then a STOP. Prints whether the bus is free\n"
     "and after how many pulses. Unlike the other commands it\n"
     "does not start with the six-pulse bus clear.\n",
     applyRecover},
    {"import", "FORMAT IN", 2, 2,
     "Convert IN into a bring-up script, on standard output or\n"
     "into -o OUT. FORMAT: c (a driver's register table),\n"
     "i2ctransfer, xml (an adapter's batch file), vcd (a\n"
     "capture of SCL and SDA) or i2c (a command file). A line\n"
     "that cannot be converted is named with its line number\n"
     "and nothing is written (--skip-unknown: written without\n"
     "it).\n",
     applyImport},
    {"export", "FORMAT IN", 2, 2,
     "Write the bring-up script IN as c, i2ctransfer, xml or\n"
     "i2c, on standard output or into -o OUT. A command the\n"
     "format cannot express is named with its line.\n",
     applyExport},
    {"read-all", "", 0, 0,
     "With --map FILE: read every register of the map that may\n"
     "be read, contiguous ones in one sequential read each, and\n"
     "print a line a register (address, name, value; -- when\n"
     "not read), its bit fields below it.\n",
     applyReadAll},
    {"snapshot", "OUT", 1, 1,
     "With --map FILE: read all, then write the values to OUT\n"
     "as a register snapshot (.snap). OUT is replaced only by\n"
     "a complete snapshot, and not at all when a read is not\n"
     "acknowledged; - is standard output.\n",
     applySnapshot},
    {"diff", "A [B]", 1, 2,
     "Compare snapshot A with snapshot B, or (with --map FILE)\n"
     "with the device's values read now; print a line a\n"
     "difference, A's value first (0100 MODE_SELECT: 00 -> 01).\n"
     "Exit status 1 when they differ.\n",
     applyDiff},
    {"write-back", "SNAPSHOT", 1, 1,
     "With --map FILE: write the snapshot's values to the\n"
     "map's writable registers of the same address and width,\n"
     "in address order, then read all again and print it as\n"
     "read-all does.\n",
     applyWriteBack},
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

Error applyCommand(const std::vector<std::string>& words, CliRequest& request) {
  if (request.mapFile && (words[0] == "write" || words[0] == "read")) {
    return applyByName(words, request);
  }
  for (const CommandSpec& command : kCommands) {
    if (words[0] != command.name) continue;
    const std::vector<std::string> arguments(words.begin() + 1, words.end());
    if (arguments.size() < command.minArguments || arguments.size() > command.maxArguments) {
      if (command.maxArguments == 0) return std::string(command.name) + " takes no arguments";
      return std::string(command.name) + " wants " + command.arguments;
    }
    if (auto error = command.apply(arguments, request)) return error;
    if ((request.scanAll || request.scanList) && request.command != Command::Scan) {
      return "--all and --list go with scan";
    }
    return std::nullopt;
  }
  return "unknown command " + shownArgument(words[0]) + " (use " + commandNames() + ")";
}

// ---- Options ---------------------------------------------------------------------------

struct OptionSpec {
  const char* name;
  // What the usage shows after the name; empty for an option that takes no value.
  const char* value;
  const char* help;
  Error (*apply)(const std::string& value, CliRequest& request);
};

Error applyBackend(const std::string& value, CliRequest& request) {
  return apps::applyPortOption("--backend", value, request);
}
Error applyPort(const std::string& value, CliRequest& request) {
  return apps::applyPortOption("--port", value, request);
}
Error applySimDevices(const std::string& value, CliRequest& request) {
  return apps::applyPortOption("--sim-device", value, request);
}
Error applyCapture(const std::string& value, CliRequest& request) {
  return apps::applyPortOption("--capture", value, request);
}

// What the window's two delay fields can hold, read as they read it: 0 to 9.99.
Error applyDelay(const std::string& value, CliRequest& request) {
  try {
    request.delay = commandfiles::DelayFromText(value);
  } catch (const base::RuntimeError&) {
    return "--delay must be 0 to 9.99 seconds, not " + shownArgument(value);
  }
  return std::nullopt;
}

// An option without a value: it sets its flag.
template <bool CliRequest::*flag>
Error setFlag(const std::string&, CliRequest& request) {
  request.*flag = true;
  return std::nullopt;
}

template <bool ScriptOptions::*flag>
Error setScriptFlag(const std::string&, CliRequest& request) {
  request.script.*flag = true;
  return std::nullopt;
}

Error applyStepUs(const std::string& value, CliRequest& request) {
  const auto step = decimal(value);
  if (!step || *step < bus::kShortestStep.count() || *step > bus::kLongestStep.count()) {
    return "--step-us must be a decimal count of microseconds from 5 to 1000, not " +
           shownArgument(value);
  }
  request.stepUs = *step;
  return std::nullopt;
}

Error applyStretchTimeout(const std::string& value, CliRequest& request) {
  const auto timeout = decimal(value);
  if (!timeout || *timeout < bus::kShortestStretchTimeout.count() ||
      *timeout > bus::kLongestStretchTimeout.count()) {
    return "--stretch-timeout must be a decimal count of milliseconds from 1 to 10000, not " +
           shownArgument(value);
  }
  request.stretchTimeoutMs = *timeout;
  return std::nullopt;
}

const std::array<OptionSpec, 26> kOptions{{
    {"--backend", "auto|sim|ppdev|ioport|i2cdev|gpio",
     "auto (default): a real parallel port through ppdev when a\n"
     "/dev/parportN exists, else the simulated bus (said on\n"
     "standard error); the adapter or the GPIO lines when\n"
     "--port names them. sim: the simulated bus. ppdev: Linux\n"
     "/dev/parportN. ioport: direct port I/O (root, x86 only).\n"
     "i2cdev: the Linux I2C adapter --port names. gpio: the\n"
     "GPIO lines --port names. sim, ppdev and ioport go with\n"
     "an LPT port, i2cdev with an adapter, gpio with GPIO\n"
     "lines; other pairs are refused.\n",
     applyBackend},
    {"--port", "lpt1|lpt2|lpt3|i2c-N|/dev/i2c-N|gpio:CHIP:SCL,SDA",
     "LPT1 (0x378, default), LPT2 (0x278) or LPT3 (0x3BC); the\n"
     "I2C adapter /dev/i2c-N; or two lines of a GPIO chip for\n"
     "SCL and SDA, by offset or by name, e.g. gpio:gpiochip0:3,2\n"
     "(ports lists adapters and chips). On the simulated bus\n"
     "the cable is on the chosen LPT port.\n",
     applyPort},
    {"--sim-device", "ADDR[:KIND][,ADDR[:KIND]...]|none",
     "Simulated sensors by write address in hex (default 42);\n"
     "KIND is sensor8 (the camera sensor, the default) or\n"
     "sensor16 (16-bit register addresses, e.g. 20:sensor16);\n"
     "none for a bus where nothing answers.\n",
     applySimDevices},
    {"--capture", "FILE.vcd",
     "Write every change of SCL and SDA during the command as a\n"
     "VCD file (signals scl and sda) for a logic-analyser viewer\n"
     "or sigrok's I2C decoder. A regular file is replaced only\n"
     "by a complete capture; a FIFO or device is written in\n"
     "place; - is standard output. A place it cannot be written\n"
     "to (no such folder, no permission) is refused before the\n"
     "bus is used; the file is written after the result is\n"
     "printed, and an error writing it follows the result.\n",
     applyCapture},
    {"--delay", "SECONDS",
     "send: the extra pause after each write, 0 to 9.99\n"
     "(default 0), on top of the fixed 0.1 s.\n",
     applyDelay},
    {"--keep-going", "",
     "send FILE.i2cs: go on after a command that is not\n"
     "acknowledged, as command files do (exit status 1).\n",
     setScriptFlag<&ScriptOptions::keepGoing>},
    {"--trace", "",
     "Enable the bus debugger and print each trace line on\n"
     "standard error as it is logged; on an I2C adapter, one\n"
     "line a transfer.\n",
     setFlag<&CliRequest::trace>},
    {"--transactions", "",
     "Print one line a transaction on standard error, as the\n"
     "debugger's Transactions view shows it, instead of the\n"
     "trace: the milliseconds since the start, the address, W\n"
     "or R, the register, the bytes and ACK or NO ACK.\n",
     setFlag<&CliRequest::transactions>},
    {"--7bit", "",
     "DEV is a 7-bit address (00 to 7F, e.g. 21), and the\n"
     "addresses printed are 7-bit ones too.\n",
     setFlag<&CliRequest::sevenBit>},
    {"--repeated-start", "",
     "write, read, dump, a script's reads: the register pointer\n"
     "write and the read after it are one transfer, with a\n"
     "repeated START instead of STOP then START. Off by\n"
     "default: some camera sensors (SCCB) need the STOP.\n"
     "export i2ctransfer writes a read as one line with it.\n",
     setFlag<&CliRequest::repeatedStart>},
    {"--all", "", "scan: every address from 00 to 7F.\n", setFlag<&CliRequest::scanAll>},
    {"--list", "", "scan: one address a line instead of the grid.\n",
     setFlag<&CliRequest::scanList>},
    {"--step-us", "N",
     "Each line step lasts at least N microseconds, 5 to 1000\n"
     "(default 5: I2C standard mode). Slower for long wires or\n"
     "a logic analyser that takes few samples.\n",
     applyStepUs},
    {"--stretch-timeout", "MS",
     "How long a slave may stretch the clock (hold SCL low\n"
     "after the master releases it), 1 to 10000 ms (default\n"
     "25); longer ends the command with error 24. Only where\n"
     "SCL can be read back, as on GPIO lines: the parallel-port\n"
     "cable cannot read SCL, so on it a stretched clock is not\n"
     "waited for.\n",
     applyStretchTimeout},
    {"--reg-bits", "8|16",
     "write, read: register addresses of 8 (default) or 16\n"
     "bits, sent most significant byte first. import: the\n"
     "width where the input does not give it.\n",
     applyRegisterBits},
    {"--value-bits", "8|16|32",
     "write, read: register values of 8 (default), 16 or 32\n"
     "bits; read's N counts values of that width. import: the\n"
     "width where the input does not give it.\n",
     applyValueBits},
    {"--le", "",
     "write, read: values least significant byte first (the\n"
     "default is most significant byte first).\n",
     applyLittleEndian},
    {"--map", "FILE",
     "write, read: registers by name from a device description\n"
     "(.yaml) or register list (.csv), which gives their widths\n"
     "and the device address (--reg-bits, --value-bits and --le\n"
     "win over it). read prints the value, its name and fields.\n"
     "read-all, snapshot, diff, write-back: the map they act on.\n",
     applyMap},
    {"--device", "DEV",
     "import: the device where the input names none (a C\n"
     "table), as DEV is given to write. read-all, snapshot,\n"
     "diff, write-back: the device instead of the map's.\n",
     applyImportDevice},
    {"--skip-unknown", "",
     "import: name the lines that cannot be converted and\n"
     "write the script without them (exit status 0).\n",
     setScriptFlag<&ScriptOptions::skipUnknown>},
    {"--scl", "NAME", "import vcd: the capture's SCL signal (default scl).\n", applySclName},
    {"--sda", "NAME", "import vcd: the capture's SDA signal (default sda).\n", applySdaName},
    {"--min-delay", "MS",
     "import vcd: a gap between transfers longer than MS\n"
     "milliseconds (default 1) becomes a delay line.\n",
     applyMinDelay},
    {"--expect", "",
     "import vcd: each read becomes expect lines holding the\n"
     "values the capture shows it returned.\n",
     setScriptFlag<&ScriptOptions::readsAsExpect>},
    {"--keep-pauses", "",
     "import i2c: keep the 0.1 s pause after each write as\n"
     "delay 100.\n",
     setScriptFlag<&ScriptOptions::keepPauses>},
    {"-o", "OUT",
     "import, export: write into OUT instead of standard\n"
     "output; a regular file is replaced only by a complete\n"
     "one.\n",
     applyOutput},
}};

const OptionSpec* findOption(std::string_view name) {
  for (const OptionSpec& option : kOptions) {
    if (name == option.name) return &option;
  }
  return nullptr;
}

bool isHelp(const std::string& arg) { return arg == "--help" || arg == "-h"; }
constexpr const char* kVersionOption = "--version";

// "-x" and "--name" are options; "-" alone and a dash before a digit are words, so that a
// negative count gets the count's own error.
bool looksLikeOption(const std::string& arg) {
  return arg.size() >= 2 && arg[0] == '-' && !std::isdigit(static_cast<unsigned char>(arg[1]));
}

// Applies the option at args[i], taking its value from the next argument when it has no
// "=VALUE"; i then points at the last argument used.
Error applyOptionAt(const std::vector<std::string>& args, std::size_t& i, CliRequest& request) {
  const std::string& arg = args[i];
  const std::size_t equals = arg.find('=');
  const std::string name = arg.substr(0, equals);
  const OptionSpec* option = findOption(name);
  if (option == nullptr) {
    if (name == "--help" || name == kVersionOption) return name + " takes no value";
    return "unknown option " + shownArgument(name) + " (--help lists them)";
  }
  const bool takesValue = *option->value != '\0';
  if (!takesValue) {
    if (equals != std::string::npos) return name + " takes no value";
    return option->apply({}, request);
  }
  if (equals != std::string::npos) return option->apply(arg.substr(equals + 1), request);
  if (i + 1 >= args.size()) return name + " wants a value";
  return option->apply(args[++i], request);
}

constexpr std::size_t kHelpColumn = 22;

void appendHelp(std::string& text, const std::string& head, const char* help,
                std::size_t column = kHelpColumn) {
  std::string_view lines(help);
  std::string prefix = "  " + head;
  if (prefix.size() + 2 > column) {
    text += prefix + '\n';
    prefix.clear();
  }
  while (!lines.empty()) {
    const std::size_t end = lines.find('\n');
    prefix.resize(column, ' ');
    text += prefix;
    text += lines.substr(0, end);
    text += '\n';
    prefix.clear();
    lines.remove_prefix(end == std::string_view::npos ? lines.size() : end + 1);
  }
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
  CliRequest request;
  std::vector<std::string> words;
  bool optionsEnded = false;
  for (std::size_t i = 0; i < args.size(); ++i) {
    const std::string& arg = args[i];
    if (optionsEnded || !looksLikeOption(arg)) {
      words.push_back(arg);
    } else if (arg == "--") {
      optionsEnded = true;
    } else if (isHelp(arg)) {
      return HelpRequest{};
    } else if (arg == kVersionOption) {
      return VersionRequest{};
    } else if (auto error = applyOptionAt(args, i, request)) {
      return UsageError{*error};
    }
  }
  if (words.empty()) {
    return UsageError{"no command given (use " + commandNames() + "; --help explains)"};
  }
  if (auto error = applyCommand(words, request)) return UsageError{*error};
  if (auto problem = apps::portOptionsProblem(request)) return UsageError{*problem};
  if (request.command != Command::Import) {
    if (auto error = checkRegisterOptions(request)) return UsageError{*error};
  }
  if (auto error = checkScriptOptions(request)) return UsageError{*error};
  return request;
}

std::string synopsisText(std::string_view indent) {
  std::string text;
  for (const CommandSpec& command : kCommands) {
    text += std::string(indent) + kProgram + " [options] " + commandHead(command) + '\n';
  }
  return text;
}

std::string optionsText() {
  std::string text;
  for (const OptionSpec& option : kOptions) {
    std::string head = option.name;
    if (*option.value != '\0') head += std::string(" ") + option.value;
    appendHelp(text, head, option.help);
  }
  appendHelp(text, kVersionOption, "Show the program's version.\n");
  appendHelp(text, "-h, --help", "Show this text.\n");
  appendHelp(text, "--", "End of the options: what follows is the command.\n");
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
