#include "CliScriptArguments.h"

#include <charconv>

#include "CliMapArguments.h"
#include "CliRegisterArguments.h"
#include "PortOptions.h"
#include "scripts/Formats.h"
#include "scripts/ScriptReader.h"

namespace brelvion::apps::cli {

namespace {

std::optional<scripts::Format> formatArgument(const std::string& name, bool exporting) {
  const auto format = scripts::formatNamed(name);
  if (!format || (exporting && !scripts::canExport(*format))) return std::nullopt;
  return format;
}

ScriptArgumentError applyConversion(const std::vector<std::string>& arguments,
                                    CliRequest& request, bool exporting) {
  if (!formatArgument(arguments[0], exporting)) {
    return std::string(exporting ? "export" : "import") + ": FORMAT must be one of " +
           (exporting ? "c, i2ctransfer, xml, i2c (a capture, vcd, is only imported)"
                      : std::string(scripts::formatNames())) +
           ", not " + shownArgument(arguments[0]);
  }
  request.script.format = arguments[0];
  request.script.input = arguments[1];
  return std::nullopt;
}

// --device, read once every option is known: an 8-bit write address, or 7-bit with --7bit.
ScriptArgumentError importDevice(CliRequest& request) {
  if (!request.script.deviceText) return std::nullopt;
  return deviceArgument(*request.script.deviceText, "--device", request);
}

bool importOptionsGiven(const ScriptOptions& script) {
  return script.deviceText || script.skipUnknown || script.sclName || script.sdaName ||
         script.minDelayMs || script.keepPauses;
}

}  // namespace

bool isScriptFile(const std::string& file) { return scripts::isScriptFileName(file); }

ScriptArgumentError readDeviceOption(CliRequest& request) { return importDevice(request); }

ScriptArgumentError applyImport(const std::vector<std::string>& arguments, CliRequest& request) {
  request.command = Command::Import;
  if (auto error = applyConversion(arguments, request, false)) return error;
  return importDevice(request);
}

ScriptArgumentError applyExport(const std::vector<std::string>& arguments, CliRequest& request) {
  request.command = Command::Export;
  return applyConversion(arguments, request, true);
}

ScriptArgumentError applyImportDevice(const std::string& value, CliRequest& request) {
  request.script.deviceText = value;
  return std::nullopt;
}

ScriptArgumentError applySclName(const std::string& value, CliRequest& request) {
  if (value.empty()) return "--scl wants the name of the capture's SCL signal";
  request.script.sclName = value;
  return std::nullopt;
}

ScriptArgumentError applySdaName(const std::string& value, CliRequest& request) {
  if (value.empty()) return "--sda wants the name of the capture's SDA signal";
  request.script.sdaName = value;
  return std::nullopt;
}

ScriptArgumentError applyMinDelay(const std::string& value, CliRequest& request) {
  double ms = 0;
  const char* end = value.data() + value.size();
  const auto [ptr, ec] = std::from_chars(value.data(), end, ms, std::chars_format::fixed);
  if (value.empty() || ec != std::errc() || ptr != end || !(ms >= 0) ||
      ms > scripts::kLongestWaitMs) {
    return "--min-delay must be milliseconds from 0 to 3600000 (e.g. 1 or 0.5), not " +
           shownArgument(value);
  }
  request.script.minDelayMs = ms;
  return std::nullopt;
}

ScriptArgumentError applyOutput(const std::string& value, CliRequest& request) {
  if (value.empty()) return "-o wants a file name";
  request.script.output = value;
  return std::nullopt;
}

ScriptArgumentError checkScriptOptions(const CliRequest& request) {
  const Command command = request.command;
  const bool converting = command == Command::Import || command == Command::Export;
  if (request.script.output && !converting) return "-o goes with import and export";
  if (converting && request.capturePath) return "--capture goes with the commands that use the bus";
  // The map's commands take --device too, in place of the map's device.
  ScriptOptions importOnly = request.script;
  if (isMapCommand(command)) importOnly.deviceText.reset();
  if (importOptionsGiven(importOnly) && command != Command::Import) {
    return "--device, --skip-unknown, --scl, --sda, --min-delay and --keep-pauses go with import";
  }
  if (request.script.readsAsExpect &&
      (command != Command::Import ||
       scripts::formatNamed(request.script.format) != scripts::Format::Vcd)) {
    return "--expect goes with import vcd";
  }
  const bool script = command == Command::Send && isScriptFile(request.file);
  // Standard input is told a script or a command file only once it is read.
  const bool maybeScript = command == Command::Send && request.file == kStandardInput;
  if (request.script.keepGoing && !script && !maybeScript) {
    return "--keep-going goes with send FILE.i2cs (a command file always goes on)";
  }
  if (script && request.delay != 0) {
    return "--delay is for command files (.i2c); a script waits with its delay lines";
  }
  if (command == Command::Import && (request.littleEndian || request.mapFile)) {
    return "--le and --map are for write and read";
  }
  return std::nullopt;
}

}  // namespace brelvion::apps::cli
