#include "CliScriptCommands.h"

#include "CliRun.h"
#include "ShownArgument.h"
#include "base/UserFile.h"
#include "core/RegisterCommands.h"
#include "numconv/HexText.h"
#include "i2c/DeviceAddress.h"
#include "i2c/OutcomeText.h"
#include "scripts/Formats.h"
#include "scripts/ScriptReader.h"
#include "scripts/ScriptWriter.h"
#include "scripts/TextLines.h"

namespace brelvion::apps::cli {

namespace {

using scripts::CommandReport;
using scripts::CommandResult;
using scripts::Op;

constexpr const char* kProgram = "brelvion-i2c-cli";

void printProblems(const scripts::Problems& problems, std::ostream& err) {
  for (const scripts::Problem& problem : problems) err << escapeControls(problem.text()) << '\n';
}

std::string valuesText(const CommandReport& report) {
  std::string text;
  for (const std::uint32_t value : report.values) {
    text += ' ' + scripts::valueText(report.step.target, value);
  }
  return text;
}

// What follows "DEV REG" on a command's line.
std::string resultText(const CommandReport& report) {
  const scripts::Step& step = report.step;
  const std::string ack(report.result == CommandResult::NotAcknowledged
                            ? i2c::outcomeWord(report.refusal)
                            : i2c::kAckText);
  if (step.op == Op::Write) return ' ' + scripts::valueText(step.target, step.value) + ' ' + ack;
  const std::string after = " after " + std::to_string(report.elapsed.count()) + " ms";
  if (report.values.empty()) return ' ' + ack + (step.op == Op::Poll ? after : "");
  const std::string read = " =" + valuesText(report);
  const bool failed = report.result == CommandResult::CheckFailed;
  switch (step.op) {
    case Op::Modify:
      return read + " -> " + scripts::valueText(step.target, report.written.value_or(0)) + ' ' +
             ack;
    case Op::Expect:
      return read + (failed ? " FAILED" : " OK");
    case Op::Poll:
      return read + after + (failed ? " FAILED" : "");
    default:
      return read;
  }
}

// Where the result goes: -o's file, complete or not at all, or standard output.
void writeResult(const std::optional<std::string>& output, const char* command,
                 const std::string& text, std::ostream& out) {
  if (output) {
    base::writeUserFile(*output, text, command);
  } else {
    out << text;
  }
}

scripts::ImportOptions importOptionsOf(const ImportRequest& request) {
  scripts::ImportOptions options;
  if (request.device) options.device = static_cast<std::uint8_t>(*request.device);
  options.addressBytes = request.addressBytes;
  options.valueBytes = request.valueBytes;
  options.skipUnknown = request.skipUnknown;
  options.keepPauses = request.keepPauses;
  options.readsAsExpect = request.readsAsExpect;
  if (request.sclName) options.signals.scl = *request.sclName;
  if (request.sdaName) options.signals.sda = *request.sdaName;
  if (request.minDelayMs) options.minDelayMs = *request.minDelayMs;
  return options;
}

}  // namespace

std::optional<CheckedScript> checkScript(const std::string& file, std::ostream& err) {
  return checkScriptText(scripts::readTextFile(file, "Read Script"), file, err);
}

std::optional<CheckedScript> checkScriptText(std::string_view text, const std::string& file,
                                             std::ostream& err) {
  const scripts::ReadResult read = scripts::readScript(text, file);
  if (!read.ok()) {
    printProblems(read.problems, err);
    return std::nullopt;
  }
  return CheckedScript{file, scripts::stepsOf(read.script)};
}

std::string commandLine(const CommandReport& report, bool sevenBit) {
  const i2c::ParsedAddress device = i2c::ParsedAddress::fromByte(report.step.target.device);
  return device.text(i2c::addressForm(sevenBit)) + ' ' +
         scripts::registerText(report.step.target, report.step.reg) + resultText(report);
}

int runScriptSend(bus::BusMaster& master, const CheckedScript& script, const SendRequest& send,
                  const SessionOptions& session, base::Clock& clock, std::ostream& out,
                  std::ostream& err) {
  scripts::RunOptions options;
  options.keepGoing = send.keepGoing;
  options.sevenBitDevices = session.sevenBit;
  options.pointerThen = core::readPointerThen(session.repeatedStart);
  scripts::RunHooks hooks;
  hooks.reported = [&](const CommandReport& report) {
    out << commandLine(report, session.sevenBit) << '\n';
  };
  // Nobody reads the results any more (a closed pipe, a full disk): stop the bus work.
  hooks.stopRequested = [&] { return !out.flush(); };
  const scripts::RunOutcome outcome =
      scripts::runScript(master, clock, script.steps, script.file, options, hooks);
  if (!out.flush()) {
    err << kProgram << ": cannot write standard output: the script was stopped after command "
        << outcome.commands << '\n';
    return kExitUsageOrPortError;
  }
  switch (outcome.end) {
    case scripts::RunEnd::Completed:
      return outcome.unacknowledged == 0 ? kExitAcknowledged : kExitNotAcknowledged;
    case scripts::RunEnd::NotAcknowledged:
      err << escapeControls(outcome.problem->text())
          << "; the script stopped there (--keep-going goes on)\n";
      return kExitNotAcknowledged;
    case scripts::RunEnd::CheckFailed:
      err << escapeControls(outcome.problem->text()) << '\n';
      return kExitUsageOrPortError;
    case scripts::RunEnd::Stopped:
      break;
  }
  return kExitUsageOrPortError;
}

int runImport(const ImportRequest& request, std::ostream& out, std::ostream& err) {
  const scripts::ImportResult result = scripts::importFile(
      *scripts::formatNamed(request.format), request.input, importOptionsOf(request));
  printProblems(result.problems, err);
  if (!result.ok()) return kExitUsageOrPortError;
  writeResult(request.output, "import", scripts::writeScript(result.script), out);
  return kExitAcknowledged;
}

int runExport(const ExportRequest& request, bool repeatedStart, std::ostream& out,
              std::ostream& err) {
  const scripts::ReadResult read = scripts::readScriptFile(request.input);
  if (!read.ok()) {
    printProblems(read.problems, err);
    return kExitUsageOrPortError;
  }
  const scripts::ExportResult exported = scripts::exportScript(
      *scripts::formatNamed(request.format), read.script, request.input,
      scripts::ExportOptions{.repeatedStartReads = repeatedStart});
  if (!exported.ok()) {
    printProblems({*exported.problem}, err);
    return kExitUsageOrPortError;
  }
  writeResult(request.output, "export", exported.text, out);
  return kExitAcknowledged;
}

}  // namespace brelvion::apps::cli
