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
#include "CliMapArguments.h"
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
  return brelvion::numconv::UpperHex(static_cast<std::uint64_t>(value), 2);
}

std::vector<std::string> writeBack(const CliRequest& request, bool joined) {
  std::vector<std::string> args;
  auto option = [&](const std::string& name, const std::string& value) {
    if (joined) {
      args.push_back(name + "=" + value);
    } else {
      args.push_back(name);
      args.push_back(value);
    }
  };
  option("--backend", brelvion::port::backendName(request.backend));
  option("--port", request.port.name());
  std::string devices;
  for (std::uint8_t device : request.simulatedDevices) {
    devices += (devices.empty() ? "" : ",") + hexByte(device);
  }
  for (std::uint8_t device : request.simulatedSensor16s) {
    devices += (devices.empty() ? "" : ",") + hexByte(device) + ":sensor16";
  }
  option("--sim-device", devices.empty() ? "none" : devices);
  if (request.capturePath) option("--capture", *request.capturePath);
  if (request.trace) args.push_back("--trace");
  if (request.sevenBit) args.push_back("--7bit");
  if (request.repeatedStart) args.push_back("--repeated-start");
  if (request.scanAll) args.push_back("--all");
  if (request.scanList) args.push_back("--list");
  if (request.stepUs) option("--step-us", std::to_string(*request.stepUs));
  if (request.stretchTimeoutMs) {
    option("--stretch-timeout", std::to_string(*request.stretchTimeoutMs));
  }
  if (request.delay != 0) {
    char delay[8];
    std::snprintf(delay, sizeof delay, "%.2f", request.delay);
    option("--delay", delay);
  }
  if (request.registerBits) option("--reg-bits", std::to_string(*request.registerBits));
  if (request.valueBits) option("--value-bits", std::to_string(*request.valueBits));
  if (request.littleEndian) args.push_back("--le");
  if (request.mapFile) option("--map", *request.mapFile);
  const ScriptOptions& script = request.script;
  if (script.deviceText) option("--device", *script.deviceText);
  if (script.skipUnknown) args.push_back("--skip-unknown");
  if (script.sclName) option("--scl", *script.sclName);
  if (script.sdaName) option("--sda", *script.sdaName);
  if (script.minDelayMs) {
    std::array<char, 400> text{};
    const auto end = std::to_chars(text.data(), text.data() + text.size(), *script.minDelayMs,
                                   std::chars_format::fixed).ptr;
    option("--min-delay", std::string(text.data(), end));
  }
  if (script.keepPauses) args.push_back("--keep-pauses");
  if (script.keepGoing) args.push_back("--keep-going");
  if (script.output) option("-o", *script.output);
  // Words after "--" are never taken for options, whatever a file name looks like.
  args.push_back("--");
  const std::string device = hexByte(request.sevenBit ? request.device >> 1 : request.device);
  if (request.mapFile && !isMapCommand(request.command)) {
    args.push_back(request.command == Command::Write ? "write" : "read");
    if (request.deviceGiven) args.push_back(device);
    args.push_back(request.registerName);
    if (request.command == Command::Write) args.push_back(request.dataText);
    return args;
  }
  switch (request.command) {
    case Command::Write:
      args.insert(args.end(),
                  {"write", device, hexByte(request.subAddress), hexByte(request.data)});
      break;
    case Command::Read:
      args.insert(args.end(), {"read", device, hexByte(request.subAddress),
                               std::to_string(request.count)});
      break;
    case Command::Send:
      args.insert(args.end(), {"send", request.file});
      break;
    case Command::Dump:
      args.insert(args.end(), {"dump", device, std::to_string(request.last), request.file});
      break;
    case Command::Scan:
      args.push_back("scan");
      break;
    case Command::Ports:
      args.push_back("ports");
      break;
    case Command::Recover:
      args.push_back("recover");
      break;
    case Command::Import:
    case Command::Export:
      args.insert(args.end(), {request.command == Command::Import ? "import" : "export",
                               script.format, script.input});
      break;
    case Command::ReadAll:
      args.push_back("read-all");
      break;
    case Command::Snapshot:
      args.insert(args.end(), {"snapshot", request.file});
      break;
    case Command::Diff:
      args.insert(args.end(), {"diff", request.file});
      if (request.otherSnapshot) args.push_back(*request.otherSnapshot);
      break;
    case Command::WriteBack:
      args.insert(args.end(), {"write-back", request.file});
      break;
  }
  return args;
}

bool sameScriptOptions(const ScriptOptions& a, const ScriptOptions& b) {
  return a.format == b.format && a.input == b.input && a.output == b.output &&
         a.deviceText == b.deviceText && a.skipUnknown == b.skipUnknown &&
         a.sclName == b.sclName && a.sdaName == b.sdaName && a.minDelayMs == b.minDelayMs &&
         a.keepPauses == b.keepPauses && a.keepGoing == b.keepGoing;
}

bool sameRequest(const CliRequest& a, const CliRequest& b) {
  return a.command == b.command && a.device == b.device && a.subAddress == b.subAddress &&
         a.data == b.data && a.count == b.count && a.backend == b.backend &&
         a.port == b.port && a.simulatedDevices == b.simulatedDevices &&
         a.capturePath == b.capturePath && a.trace == b.trace && a.file == b.file &&
         a.last == b.last && a.delay == b.delay && a.sevenBit == b.sevenBit &&
         a.repeatedStart == b.repeatedStart && a.scanAll == b.scanAll &&
         a.scanList == b.scanList && a.stepUs == b.stepUs &&
         a.stretchTimeoutMs == b.stretchTimeoutMs &&
         a.simulatedSensor16s == b.simulatedSensor16s && a.registerBits == b.registerBits &&
         a.valueBits == b.valueBits && a.littleEndian == b.littleEndian &&
         a.mapFile == b.mapFile && a.registerName == b.registerName &&
         a.dataText == b.dataText && a.deviceGiven == b.deviceGiven &&
         a.otherSnapshot == b.otherSnapshot &&
         sameScriptOptions(a.script, b.script);
}

void checkInRange(const CliRequest& request, const std::string& shown) {
  auto fits = [](std::int64_t value, std::optional<int> bits) {
    return value >= 0 && value < (std::int64_t{1} << bits.value_or(8));
  };
  FUZZ_CHECK(fits(request.device, 8) && fits(request.subAddress, request.registerBits), shown);
  FUZZ_CHECK(fits(request.data, request.mapFile ? 32 : request.valueBits), shown);
  const bool registers = request.command == Command::Write || request.command == Command::Read;
  FUZZ_CHECK(registers || (!request.registerBits && !request.valueBits && !request.littleEndian &&
                           (!request.mapFile || isMapCommand(request.command))),
             shown);
  FUZZ_CHECK(request.count >= 1 && request.count <= 32768, shown);
  FUZZ_CHECK(request.command == Command::Read || request.count == 1, shown);
  if (const auto* lpt = request.port.lptPort()) {
    FUZZ_CHECK(lpt->index >= 0 && lpt->index <= 2, shown);
  } else if (const auto* adapter = request.port.i2cDevAdapter()) {
    FUZZ_CHECK(adapter->number <= brelvion::port::PortChoice::kMaxAdapterNumber, shown);
  } else {
    FUZZ_CHECK(request.onGpioLines() && request.port.bitBanged(), shown);
  }
  FUZZ_CHECK(!request.sevenBit || (request.device & 1) == 0, shown);
  FUZZ_CHECK(request.command == Command::Scan || (!request.scanAll && !request.scanList), shown);
  FUZZ_CHECK(!request.capturePath || !request.capturePath->empty(), shown);
  FUZZ_CHECK(request.last >= 0 && request.last <= 32767, shown);
  FUZZ_CHECK(request.delay >= 0 && request.delay <= 9.99, shown);
  FUZZ_CHECK(!request.stepUs || (*request.stepUs >= 5 && *request.stepUs <= 1000), shown);
  FUZZ_CHECK(!request.stretchTimeoutMs ||
                 (*request.stretchTimeoutMs >= 1 && *request.stretchTimeoutMs <= 10000),
             shown);
  const bool takesFile = request.command == Command::Send || request.command == Command::Dump ||
                         (isMapCommand(request.command) && request.command != Command::ReadAll);
  FUZZ_CHECK(takesFile || request.file.empty(), shown);
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
    if (!joined && request.mapFile && request.mapFile->rfind('-', 0) == 0) continue;
    const std::vector<std::string> again = writeBack(request, joined);
    const ParsedArguments reparsed = parseOrFail(again);
    const auto* same = std::get_if<CliRequest>(&reparsed);
    FUZZ_CHECK(same != nullptr && sameRequest(*same, request), shown + "-> " + describe(again));
  }
  return 0;
}
