#include "CliScriptArguments.h"

#include "CliRegisterArguments.h"
#include "ShownArgument.h"
#include "scripts/Formats.h"
#include "scripts/ScriptReader.h"

namespace brelvion::apps::cli {

namespace {

std::optional<scripts::Format> formatArgument(const std::string& name, bool exporting) {
  const auto format = scripts::formatNamed(name);
  if (!format || (exporting && !scripts::canExport(*format))) return std::nullopt;
  return format;
}

ArgumentError formatProblem(const std::string& name, bool exporting) {
  if (formatArgument(name, exporting)) return std::nullopt;
  return std::string(exporting ? "export" : "import") + ": FORMAT must be one of " +
         (exporting ? "c, i2ctransfer, xml, i2c (a capture, vcd, is only imported)"
                    : std::string(scripts::formatNames())) +
         ", not " + apps::shownArgument(name);
}

// The options of import that go without a check of their own.
void takeImportOptions(const CommandOptions& given, ImportRequest& importing) {
  importing.output = given.value("-o");
  importing.skipUnknown = given.has("--skip-unknown");
  importing.sclName = given.value("--scl");
  importing.sdaName = given.value("--sda");
  if (const auto ms = given.value("--min-delay")) importing.minDelayMs = minDelayMs(*ms);
  importing.keepPauses = given.has("--keep-pauses");
  importing.readsAsExpect = given.has("--expect");
  importing.addressBytes = widthBytes(given, "--reg-bits");
  importing.valueBytes = widthBytes(given, "--value-bits");
}

// What neither import nor export does: touch the bus, or run a script.
ArgumentError refuseBusOptions(const CliRequest& request) {
  if (!request.capturePath) return std::nullopt;
  return "--capture goes with the commands that use the bus";
}

}  // namespace

bool isScriptFile(const std::string& file) { return scripts::isScriptFileName(file); }

ArgumentError parseImport(const std::vector<std::string>& arguments, const CommandOptions& given,
                          CliRequest& request) {
  ImportRequest& importing = request.command.emplace<ImportRequest>();
  if (auto error = formatProblem(arguments[0], false)) return error;
  importing.format = arguments[0];
  importing.input = arguments[1];
  takeImportOptions(given, importing);
  return deviceOption(given, request.sevenBit, importing.device);
}

ArgumentError refuseForImport(const CommandOptions& given, const CliRequest& request) {
  const auto& importing = std::get<ImportRequest>(request.command);
  const bool vcd = scripts::formatNamed(importing.format) == scripts::Format::Vcd;
  ArgumentError registers;
  if (given.hasAny({"--le", "--map"})) registers = "--le and --map are for write and read";
  return firstError({refuseBusOptions(request), vcd ? std::nullopt : refuseExpect(given),
                     refuseKeepGoing(given), registers});
}

ArgumentError parseExport(const std::vector<std::string>& arguments, const CommandOptions& given,
                          CliRequest& request) {
  ExportRequest& exported = request.command.emplace<ExportRequest>();
  if (auto error = formatProblem(arguments[0], true)) return error;
  exported.format = arguments[0];
  exported.input = arguments[1];
  exported.output = given.value("-o");
  return std::nullopt;
}

ArgumentError refuseForExport(const CommandOptions& given, const CliRequest& request) {
  return firstError({refuseRegisterOptions(given), refuseBusOptions(request),
                     refuseImportOptions(given), refuseExpect(given), refuseKeepGoing(given)});
}

}  // namespace brelvion::apps::cli
