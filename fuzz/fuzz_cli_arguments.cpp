// The companion's argument parser on any argument list: it never throws, help and version
// come only when asked for, whatever it accepts is in range, and an accepted request
// written back out as arguments (in either option spelling) parses to the same request
// again.

#include <array>
#include <charconv>
#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

#include "CliArguments.h"
#include "FuzzSupport.h"
#include "numconv/HexText.h"

namespace {

using namespace brelvion::apps::cli;

// Arguments are separated by NUL bytes, as in /proc/PID/cmdline.
std::vector<std::string> splitArguments(const std::uint8_t* data, std::size_t size) {
  std::vector<std::string> args;
  if (size == 0) return args;
  args.emplace_back();
  for (std::size_t i = 0; i < size; ++i) {
    if (data[i] == 0) {
      args.emplace_back();
    } else {
      args.back().push_back(static_cast<char>(data[i]));
    }
  }
  return args;
}

std::string describe(const std::vector<std::string>& args) {
  std::string text;
  for (const std::string& arg : args) text += "[" + arg + "] ";
  return text;
}

std::string hexByte(std::int64_t value) {
  return brelvion::numconv::upperHex(static_cast<std::uint64_t>(value), 2);
}

// Appends an option as two arguments, or joined by "=".
class OptionWriter {
 public:
  OptionWriter(std::vector<std::string>& args, bool joined) : args_(args), joined_(joined) {}
  void operator()(const std::string& name, const std::string& value) {
    if (joined_) {
      args_.push_back(name + "=" + value);
    } else {
      args_.push_back(name);
      args_.push_back(value);
    }
  }
  void flag(bool given, const char* name) {
    if (given) args_.push_back(name);
  }

 private:
  std::vector<std::string>& args_;
  bool joined_;
};

void writeSession(const SessionOptions& session, OptionWriter& option) {
  option("--backend", brelvion::core::backendName(session.backend));
  option("--port", session.port.name());
  std::string devices;
  for (std::uint8_t device : session.simulatedDevices) {
    devices += (devices.empty() ? "" : ",") + hexByte(device);
  }
  for (std::uint8_t device : session.simulatedSensor16s) {
    devices += (devices.empty() ? "" : ",") + hexByte(device) + ":sensor16";
  }
  option("--sim-device", devices.empty() ? "none" : devices);
  if (session.capturePath) option("--capture", *session.capturePath);
  option.flag(session.trace, "--trace");
  option.flag(session.transactions, "--transactions");
  option.flag(session.sevenBit, "--7bit");
  option.flag(session.repeatedStart, "--repeated-start");
  if (session.stepUs) option("--step-us", std::to_string(*session.stepUs));
  if (session.stretchTimeoutMs) {
    option("--stretch-timeout", std::to_string(*session.stretchTimeoutMs));
  }
}

std::string fixed(double value) {
  std::array<char, 400> text{};
  const auto end =
      std::to_chars(text.data(), text.data() + text.size(), value, std::chars_format::fixed).ptr;
  return std::string(text.data(), end);
}

// The options of write and read, and their DEV as given.
std::vector<std::string> writeTarget(const RegisterTarget& target, bool sevenBit,
                                     OptionWriter& option) {
  if (target.addressBytes) option("--reg-bits", std::to_string(8 * *target.addressBytes));
  if (target.valueBytes) option("--value-bits", std::to_string(8 * *target.valueBytes));
  option.flag(target.littleEndian, "--le");
  if (target.mapFile) option("--map", *target.mapFile);
  const std::string device = hexByte(sevenBit ? target.device >> 1 : target.device);
  if (!target.mapFile) return {device, hexByte(target.subAddress)};
  if (!target.deviceGiven) return {target.registerName};
  return {device, target.registerName};
}

std::vector<std::string> writeImport(const ImportRequest& importing, bool sevenBit,
                                     OptionWriter& option) {
  if (importing.output) option("-o", *importing.output);
  if (importing.device) {
    option("--device", hexByte(sevenBit ? *importing.device >> 1 : *importing.device));
  }
  option.flag(importing.skipUnknown, "--skip-unknown");
  if (importing.sclName) option("--scl", *importing.sclName);
  if (importing.sdaName) option("--sda", *importing.sdaName);
  if (importing.minDelayMs) option("--min-delay", fixed(*importing.minDelayMs));
  option.flag(importing.keepPauses, "--keep-pauses");
  option.flag(importing.readsAsExpect, "--expect");
  if (importing.addressBytes) option("--reg-bits", std::to_string(8 * *importing.addressBytes));
  if (importing.valueBytes) option("--value-bits", std::to_string(8 * *importing.valueBytes));
  return {"import", importing.format, importing.input};
}

std::vector<std::string> writeMap(const MapRequest& map, bool sevenBit, OptionWriter& option) {
  if (map.mapFile) option("--map", *map.mapFile);
  if (map.device) option("--device", hexByte(sevenBit ? *map.device >> 1 : *map.device));
  switch (map.action) {
    case MapAction::ReadAll:
      return {"read-all"};
    case MapAction::Snapshot:
      return {"snapshot", map.file};
    case MapAction::Diff:
      if (map.otherSnapshot) return {"diff", map.file, *map.otherSnapshot};
      return {"diff", map.file};
    case MapAction::WriteBack:
      break;
  }
  return {"write-back", map.file};
}

// The command's options through option, then its words.
std::vector<std::string> writeCommand(const CliRequest& request, OptionWriter& option) {
  const bool sevenBit = request.sevenBit;
  if (const auto* write = std::get_if<WriteRequest>(&request.command)) {
    auto words = writeTarget(*write, sevenBit, option);
    words.insert(words.begin(), "write");
    words.push_back(write->mapFile ? write->dataText : hexByte(write->data));
    return words;
  }
  if (const auto* read = std::get_if<ReadRequest>(&request.command)) {
    auto words = writeTarget(*read, sevenBit, option);
    words.insert(words.begin(), "read");
    if (!read->mapFile) words.push_back(std::to_string(read->count));
    return words;
  }
  if (const auto* send = std::get_if<SendRequest>(&request.command)) {
    if (send->delay != 0) {
      char delay[8];
      std::snprintf(delay, sizeof delay, "%.2f", send->delay);
      option("--delay", delay);
    }
    option.flag(send->keepGoing, "--keep-going");
    return {"send", send->file};
  }
  if (const auto* dump = std::get_if<DumpRequest>(&request.command)) {
    return {"dump", hexByte(sevenBit ? dump->device >> 1 : dump->device),
            std::to_string(dump->last), dump->file};
  }
  if (const auto* scan = std::get_if<ScanRequest>(&request.command)) {
    option.flag(scan->all, "--all");
    option.flag(scan->list, "--list");
    return {"scan"};
  }
  if (std::holds_alternative<PortsRequest>(request.command)) return {"ports"};
  if (std::holds_alternative<RecoverRequest>(request.command)) return {"recover"};
  if (const auto* importing = std::get_if<ImportRequest>(&request.command)) {
    return writeImport(*importing, sevenBit, option);
  }
  if (const auto* exported = std::get_if<ExportRequest>(&request.command)) {
    if (exported->output) option("-o", *exported->output);
    return {"export", exported->format, exported->input};
  }
  return writeMap(std::get<MapRequest>(request.command), sevenBit, option);
}

std::vector<std::string> writeBack(const CliRequest& request, bool joined) {
  std::vector<std::string> args;
  OptionWriter option(args, joined);
  writeSession(request, option);
  const std::vector<std::string> words = writeCommand(request, option);
  // Words after "--" are never taken for options, whatever a file name looks like.
  args.push_back("--");
  args.insert(args.end(), words.begin(), words.end());
  return args;
}

bool sameRequest(const CliRequest& a, const CliRequest& b) {
  return a.command == b.command && a.backend == b.backend && a.port == b.port &&
         a.simulatedDevices == b.simulatedDevices &&
         a.simulatedSensor16s == b.simulatedSensor16s && a.capturePath == b.capturePath &&
         a.trace == b.trace && a.transactions == b.transactions && a.sevenBit == b.sevenBit &&
         a.repeatedStart == b.repeatedStart && a.stepUs == b.stepUs &&
         a.stretchTimeoutMs == b.stretchTimeoutMs;
}

bool fits(std::int64_t value, std::optional<int> bytes) {
  return value >= 0 && value < (std::int64_t{1} << (8 * bytes.value_or(1)));
}

void checkTarget(const RegisterTarget& target, std::int64_t data, bool sevenBit,
                 const std::string& shown) {
  FUZZ_CHECK(fits(target.device, 1) && fits(target.subAddress, target.addressBytes), shown);
  FUZZ_CHECK(fits(data, target.mapFile ? 4 : target.valueBytes), shown);
  FUZZ_CHECK(!sevenBit || (target.device & 1) == 0, shown);
}

void checkCommandInRange(const CliRequest& request, const std::string& shown) {
  if (const auto* write = std::get_if<WriteRequest>(&request.command)) {
    checkTarget(*write, write->data, request.sevenBit, shown);
  } else if (const auto* read = std::get_if<ReadRequest>(&request.command)) {
    checkTarget(*read, 0, request.sevenBit, shown);
    FUZZ_CHECK(read->count >= 1 && read->count <= 32768, shown);
  } else if (const auto* dump = std::get_if<DumpRequest>(&request.command)) {
    FUZZ_CHECK(fits(dump->device, 1) && (!request.sevenBit || (dump->device & 1) == 0), shown);
    FUZZ_CHECK(dump->last >= 0 && dump->last <= 32767, shown);
  } else if (const auto* send = std::get_if<SendRequest>(&request.command)) {
    FUZZ_CHECK(send->delay >= 0 && send->delay <= 9.99, shown);
  } else if (const auto* map = std::get_if<MapRequest>(&request.command)) {
    FUZZ_CHECK(map->action != MapAction::ReadAll || map->file.empty(), shown);
    FUZZ_CHECK(map->mapFile || (map->action == MapAction::Diff && map->otherSnapshot), shown);
  }
}

void checkInRange(const CliRequest& request, const std::string& shown) {
  checkCommandInRange(request, shown);
  if (const auto* lpt = request.port.lptPort()) {
    FUZZ_CHECK(lpt->index >= 0 && lpt->index <= 2, shown);
  } else if (const auto* adapter = request.port.i2cDevAdapter()) {
    FUZZ_CHECK(adapter->number <= brelvion::port::PortChoice::kMaxAdapterNumber, shown);
  } else {
    FUZZ_CHECK(request.onGpioLines() && request.port.bitBanged(), shown);
  }
  FUZZ_CHECK(!request.capturePath || !request.capturePath->empty(), shown);
  FUZZ_CHECK(!request.stepUs || (*request.stepUs >= 5 && *request.stepUs <= 1000), shown);
  FUZZ_CHECK(!request.stretchTimeoutMs ||
                 (*request.stretchTimeoutMs >= 1 && *request.stretchTimeoutMs <= 10000),
             shown);
}

// --map's file, for the commands that take one.
std::optional<std::string> mapFileOf(const CommandRequest& command) {
  if (const auto* write = std::get_if<WriteRequest>(&command)) return write->mapFile;
  if (const auto* read = std::get_if<ReadRequest>(&command)) return read->mapFile;
  if (const auto* map = std::get_if<MapRequest>(&command)) return map->mapFile;
  return std::nullopt;
}

bool startsWithDash(const std::optional<std::string>& value) {
  return value && value->rfind('-', 0) == 0;
}

ParsedArguments parseOrFail(const std::vector<std::string>& args) {
  try {
    return parseArguments(args);
  } catch (const std::exception& error) {
    brelvion::fuzz::propertyFailed(__FILE__, __LINE__, "parseArguments threw",
                                   describe(args) + error.what());
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::vector<std::string> args = splitArguments(data, size);
  const ParsedArguments parsed = parseOrFail(args);
  const std::string shown = describe(args);

  if (std::holds_alternative<HelpRequest>(parsed)) {
    bool asked = false;
    for (const std::string& arg : args) asked = asked || arg == "--help" || arg == "-h";
    FUZZ_CHECK(asked, shown);
    return 0;
  }
  if (std::holds_alternative<VersionRequest>(parsed)) {
    bool asked = false;
    for (const std::string& arg : args) asked = asked || arg == "--version";
    FUZZ_CHECK(asked, shown);
    return 0;
  }
  if (const auto* error = std::get_if<UsageError>(&parsed)) {
    FUZZ_CHECK(!error->message.empty(), shown);
    return 0;
  }
  const auto& request = std::get<CliRequest>(parsed);
  checkInRange(request, shown);
  for (bool joined : {false, true}) {
    // A value that looks like an option needs the joined spelling.
    if (!joined && request.capturePath && request.capturePath->rfind('-', 0) == 0) continue;
    if (!joined && startsWithDash(mapFileOf(request.command))) continue;
    const std::vector<std::string> again = writeBack(request, joined);
    const ParsedArguments reparsed = parseOrFail(again);
    const auto* same = std::get_if<CliRequest>(&reparsed);
    FUZZ_CHECK(same != nullptr && sameRequest(*same, request), shown + "-> " + describe(again));
  }
  return 0;
}
